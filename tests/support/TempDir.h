#pragma once

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <string_view>
#include <system_error>

namespace s::testing {

// A fresh folder under the system's temporary folder, removed with everything in it at the end.
class TempDir {
public:
    TempDir()
    {
        std::filesystem::path base = std::filesystem::temp_directory_path();
        for (unsigned attempt = 0;; ++attempt) {
            std::filesystem::path candidate = base / ("ostrel-test-" + std::to_string(std::random_device{}()) + "-" +
                                                      std::to_string(counter()++) + "-" + std::to_string(attempt));
            std::error_code error;
            if (std::filesystem::create_directory(candidate, error)) {
                m_path = candidate;
                return;
            }
        }
    }
    ~TempDir()
    {
        std::error_code error;
        std::filesystem::remove_all(m_path, error);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    std::string file(std::string_view name) const { return (m_path / name).string(); }

private:
    static unsigned& counter()
    {
        static unsigned value = 0;
        return value;
    }

    std::filesystem::path m_path;
};

inline std::string readWhole(const std::string& path)
{
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in)
        return {};
    std::string bytes(static_cast<std::size_t>(in.tellg()), '\0');
    in.seekg(0);
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return bytes;
}

inline void writeWhole(const std::string& path, std::string_view bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace s::testing
