#pragma once
// Shared set-up of the engine's reader fuzz entries: one private folder per
// process holding the settings file, the user folder, the run folder and the
// databases the entries write their input into, a temporary folder inside it,
// and message boxes swallowed (a refusal is a normal outcome here).
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "crv/platform/message_box.h"
#include "fuzz_support.h"

namespace crv::fuzz {

struct EngineScratch {
    std::string root, run, user;
};

inline const EngineScratch& engineScratch() {
    static const EngineScratch scratch = [] {
        EngineScratch s;
        s.root = scratchFolder();
        s.run = s.root + "run/";
        s.user = s.root + "user/";
        std::filesystem::create_directories(s.run);
        std::filesystem::create_directories(s.user);
        std::filesystem::create_directories(s.root + "tmp");
        ::setenv("TMPDIR", (s.root + "tmp").c_str(), 1);
        const std::string settings = "[Paths]\nFCC Database=" + s.root + "FMALL.dat\nQVA Database=" + s.root +
                                     "A108M118.dat\nCOM Database=" + s.root + "G118M136.dat\nUser Folder=" + s.user +
                                     "\n[General]\nModel Type=SCI\n";
        scratchFile(reinterpret_cast<const std::uint8_t*>(settings.data()), settings.size(), "settings.ini");
        ::setenv("CORVANE_SETTINGS", (s.root + "settings.ini").c_str(), 1);
        // The frequency search writes its file into the current folder.
        if (::chdir(s.root.c_str()) != 0) std::abort();
        crv::platform::setMessagePresenter(
            [](const std::string&, const std::string&, crv::platform::MessageIcon, void*) {}, nullptr);
        return s;
    }();
    return scratch;
}

// Writes the input as a file of the scratch folder, `relative` to its root.
inline std::string engineInput(const std::uint8_t* data, std::size_t size, const std::string& relative) {
    engineScratch();
    return scratchFile(data, size, relative);
}

}  // namespace crv::fuzz
