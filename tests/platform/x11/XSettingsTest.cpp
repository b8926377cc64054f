#include "platform/x11/XSettings.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

using s::platform::x11::parseXSettings;

// Builds an XSETTINGS blob in little-endian order.
class Blob {
public:
    Blob() { bytes = {0, 0, 0, 0}; }
    void u16(std::uint16_t v) { bytes.push_back(static_cast<std::uint8_t>(v)); bytes.push_back(static_cast<std::uint8_t>(v >> 8)); }
    void u32(std::uint32_t v)
    {
        for (int i = 0; i < 4; ++i)
            bytes.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    }
    void name(const std::string& n)
    {
        u16(static_cast<std::uint16_t>(n.size()));
        bytes.insert(bytes.end(), n.begin(), n.end());
        while (bytes.size() % 4 != 0)
            bytes.push_back(0);
        u32(0);  // last change serial
    }
    void integer(const std::string& n, std::int32_t v)
    {
        bytes.push_back(0);
        bytes.push_back(0);
        name(n);
        u32(static_cast<std::uint32_t>(v));
    }
    void text(const std::string& n, const std::string& v)
    {
        bytes.push_back(1);
        bytes.push_back(0);
        name(n);
        u32(static_cast<std::uint32_t>(v.size()));
        bytes.insert(bytes.end(), v.begin(), v.end());
        while (bytes.size() % 4 != 0)
            bytes.push_back(0);
    }
    std::vector<std::uint8_t> bytes;
};

std::vector<std::uint8_t> sample()
{
    Blob b;
    b.u32(7);  // serial
    b.u32(3);  // settings
    b.integer("Net/DoubleClickTime", 250);
    b.text("Net/ThemeName", "Adwaita");
    b.integer("Xft/DPI", 120 * 1024);
    return b.bytes;
}

TEST(XSettingsTest, ReadsIntegersAndSkipsOtherKinds)
{
    const std::vector<std::uint8_t> data = sample();
    const auto settings = parseXSettings(data.data(), data.size());
    ASSERT_EQ(settings.size(), 2u);
    EXPECT_EQ(settings.at("Net/DoubleClickTime"), 250);
    EXPECT_EQ(settings.at("Xft/DPI"), 120 * 1024);
}

TEST(XSettingsTest, TruncatedDataNeverReadsPastTheEnd)
{
    const std::vector<std::uint8_t> data = sample();
    for (std::size_t size = 0; size < data.size(); ++size) {
        // A copy of exactly `size` bytes, so a read past it is a fault the sanitizers see.
        std::vector<std::uint8_t> cut(data.begin(), data.begin() + static_cast<std::ptrdiff_t>(size));
        const auto settings = parseXSettings(cut.data(), cut.size());
        EXPECT_LE(settings.size(), 1u) << size;
    }
    std::vector<std::uint8_t> lying = sample();
    lying[8] = 0xFF;  // claims 255 settings
    EXPECT_EQ(parseXSettings(lying.data(), lying.size()).size(), 2u);
}

}  // namespace
