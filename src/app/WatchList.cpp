#include "app/WatchList.h"

#include "app/ConsoleText.h"
#include "changelog/ChangeFilters.h"
#include "platform/Files.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace s::app {

namespace {

std::string normalised(const std::string& directory)
{
    std::error_code error;
    std::filesystem::path path = std::filesystem::absolute(directory, error);
    if (error)
        path = directory;
    std::string text = path.lexically_normal().string();
    while (text.size() > 1 && text.back() == '/')
        text.pop_back();
    return text;
}

}  // namespace

std::vector<std::string> watchListOf(const std::vector<std::string>& given, std::FILE* report)
{
    std::vector<std::string> roots;
    for (const std::string& directory : given) {
        std::string root = normalised(directory);
        if (std::find(roots.begin(), roots.end(), root) == roots.end())
            roots.push_back(std::move(root));
    }
    std::vector<std::string> kept;
    for (const std::string& root : roots) {
        const platform::FileStamp inner = platform::fileStamp(root);
        const auto outer = std::find_if(roots.begin(), roots.end(), [&](const std::string& other) {
            if (other == root || !file::gui::dialogs::fileaccess::isUnderRoot(other, root))
                return false;
            const platform::FileStamp stamp = platform::fileStamp(other);
            return inner.exists && stamp.exists && stamp.device == inner.device;
        });
        if (outer == roots.end()) {
            kept.push_back(root);
        } else if (report != nullptr) {
            std::fprintf(report, "ostrel: %s is watched as part of %s\n", escaped(root).c_str(), escaped(*outer).c_str());
        }
    }
    return kept;
}

}  // namespace s::app
