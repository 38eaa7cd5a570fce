#pragma once
#include <string>
#include <vector>

#include "crv/common/messages.h"
#include "crv/testing/files.h"

namespace crv::main::test {

struct Recorder : crv::common::MessagePresenter {
    crv::common::MessageAnswer present(const crv::common::Message& m) override {
        messages.push_back(m);
        return crv::common::MessageAnswer::Ok;
    }
    std::vector<crv::common::Message> messages;
};

// A fresh folder under the test's temporary area, removed at the end.
struct TempDir {
    std::string folder() const { return scratch.path(); }
    // Writes `lines`, each ended by CR LF, to `name` in the folder; returns its path.
    std::string write(const std::string& name, const std::vector<std::string>& lines) const {
        std::string bytes;
        for (const auto& l : lines) bytes += l + "\r\n";
        const std::string p = folder() + name;
        crv::testing::writeBytes(p, bytes);
        return p;
    }
    crv::testing::ScratchFolder scratch{"crv_main_dialogs"};
};

}  // namespace crv::main::test
