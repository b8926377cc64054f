#include "platform/linux/DirectoryCache.h"

#include <gtest/gtest.h>

namespace {

using s::platform::linux_impl::DirectoryCache;

TEST(DirectoryCacheTest, RelativePartStartsAfterTheRootOnAComponentBoundary)
{
    struct Case {
        const char* root;
        const char* path;
        int start;
    };
    const Case cases[] = {
        {"/w", "/w", 2},      {"/w", "/w/x", 3}, {"/w", "/wx", -1}, {"/w", "/", -1},
        {"/w", "/v/w", -1},   {"/", "/", 1},     {"/", "/x/y", 1},  {"/w/", "/w/x", 3},
    };
    for (const Case& c : cases) {
        DirectoryCache cache(c.root);
        EXPECT_EQ(cache.relativeStartOf(c.path), c.start) << c.root << " " << c.path;
    }
}

TEST(DirectoryCacheTest, RenameMovesTheDirectoryAndEverythingBelowIt)
{
    DirectoryCache cache("/w");
    cache.insert("k1", "/w/a");
    cache.insert("k2", "/w/a/b");
    cache.insert("k3", "/w/ab");
    cache.insert("k4", "/outside/a");
    cache.insertStale("k5");
    cache.rename("/w/a", "/outside/moved");
    EXPECT_EQ(cache.find("k1")->path, "/outside/moved");
    EXPECT_FALSE(cache.find("k1")->inside());
    EXPECT_EQ(cache.find("k2")->path, "/outside/moved/b");
    // A sibling that only shares the first letters stays.
    EXPECT_EQ(cache.find("k3")->path, "/w/ab");
    EXPECT_EQ(cache.find("k3")->relative(), "ab");
    cache.rename("/outside", "/w/in");
    EXPECT_EQ(cache.find("k2")->path, "/w/in/moved/b");
    EXPECT_EQ(cache.find("k2")->relative(), "in/moved/b");
    EXPECT_EQ(cache.find("k4")->relative(), "in/a");
    EXPECT_TRUE(cache.find("k5")->stale);
    cache.erase("k2");
    EXPECT_EQ(cache.find("k2"), nullptr);
    EXPECT_EQ(cache.size(), 4U);
}

}  // namespace
