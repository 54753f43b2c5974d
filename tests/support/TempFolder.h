#pragma once

#include "common/Files.h"
#include "common/Paths.h"

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

namespace kesmaro::test {

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempFolder {
public:
    TempFolder()
    {
        static std::atomic<int> counter{0};
        const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
        m_path = std::filesystem::temp_directory_path() /
                 ("kesmaro-test-" + std::to_string(stamp) + "-" + std::to_string(++counter));
        std::filesystem::create_directories(m_path);
    }
    ~TempFolder()
    {
        std::error_code ec;
        std::filesystem::remove_all(m_path, ec);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    // The folder and a name in it as the program spells paths: UTF-8, native separators.
    std::string folder() const { return PathToUtf8(m_path); }
    std::string file(std::string_view name) const { return JoinPath(folder(), name); }
    // Writes a file of these bytes into the folder; its path, empty when it could not be made.
    std::string write(std::string_view name, std::string_view bytes = {}) const
    {
        const std::string path = file(name);
        std::ofstream out(PathFromUtf8(path), std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return out.flush() ? path : std::string();
    }

private:
    std::filesystem::path m_path;
};

} // namespace kesmaro::test
