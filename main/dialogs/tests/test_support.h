#pragma once
#include <unistd.h>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "crv/common/messages.h"

namespace crv::main::test {

struct Recorder : crv::common::MessagePresenter {
    crv::common::MessageAnswer present(const crv::common::Message& m) override {
        messages.push_back(m);
        return crv::common::MessageAnswer::Ok;
    }
    std::vector<crv::common::Message> messages;
};

// A fresh folder under the build's temporary area, removed at the end.
struct TempDir {
    TempDir() {
        path = std::filesystem::temp_directory_path() /
               ("crv_main_dialogs_" + std::to_string(::getpid()) + "_" + std::to_string(counter()++));
        std::filesystem::remove_all(path);
        std::filesystem::create_directories(path);
    }
    ~TempDir() { std::filesystem::remove_all(path); }
    std::string folder() const { return path.string() + "/"; }
    std::string write(const std::string& name, const std::vector<std::string>& lines) const {
        const std::string p = folder() + name;
        std::ofstream out(p, std::ios::binary);
        for (const auto& l : lines) out << l << "\r\n";
        return p;
    }
    static int& counter() {
        static int c = 0;
        return c;
    }
    std::filesystem::path path;
};

}  // namespace crv::main::test
