#pragma once
// Scratch folders and whole-file reads and writes for the platform tests.
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace crv::platform::test {

// A fresh folder of this process under the system's temporary area, "/" ended.
inline std::string scratchFolder(const std::string& name) {
    auto dir = std::filesystem::temp_directory_path() / ("crv-platform-" + name + "-" + std::to_string(::getpid()));
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    return dir.string() + "/";
}
inline void put(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}
inline std::string get(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

}  // namespace crv::platform::test
