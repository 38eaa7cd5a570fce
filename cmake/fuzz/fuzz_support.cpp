#include "fuzz_support.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>

namespace crv::fuzz {

const std::string& scratchFolder() {
    static const std::string folder = [] {
        const char* base = std::getenv("TMPDIR");
        std::string pattern = std::string(base && *base ? base : "/tmp") + "/crv-fuzz-XXXXXX";
        if (!::mkdtemp(pattern.data())) throw std::runtime_error("cannot make a scratch folder");
        std::string made = pattern + "/";
        // The folder goes with the process.
        static struct Remover {
            std::string path;
            ~Remover() {
                std::error_code ec;
                std::filesystem::remove_all(path, ec);
            }
        } remover{made};
        return made;
    }();
    return folder;
}

std::string scratchFile(const std::uint8_t* data, std::size_t size, const std::string& name) {
    std::string path = scratchFolder() + name;
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) throw std::runtime_error("cannot write " + path);
    if (size) std::fwrite(data, 1, size, f);
    std::fclose(f);
    return path;
}

}  // namespace crv::fuzz
