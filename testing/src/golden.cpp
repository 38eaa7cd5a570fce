#include "crv/testing/golden.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <system_error>

namespace crv::testing {

namespace fs = std::filesystem;

bool updatingGoldens() {
    const char* update = std::getenv("CRV_UPDATE_GOLDENS");
    return update && std::string(update) == "1";
}

fs::path goldenCandidatePath(const std::string& relativeName) {
    return fs::path(CRV_GOLDEN_CANDIDATE_DIR) / relativeName;
}

namespace {

bool writeWhole(const fs::path& path, const std::string& bytes) {
    std::error_code ec;
    fs::create_directories(path.parent_path(), ec);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
    out.close();
    return static_cast<bool>(out);
}

}  // namespace

::testing::AssertionResult matchesGolden(const fs::path& golden, const std::string& relativeName,
                                         const std::string& actual) {
    if (updatingGoldens()) {
        if (!writeWhole(golden, actual))
            return ::testing::AssertionFailure() << "could not write the golden " << golden.string();
        return ::testing::AssertionSuccess();
    }
    std::ifstream in(golden, std::ios::binary);
    if (!in || !fs::is_regular_file(golden))
        return ::testing::AssertionFailure() << "the golden " << golden.string() << " is missing or unreadable; "
                                             << "run the tests with CRV_UPDATE_GOLDENS=1 to write it";
    const std::string expected(std::istreambuf_iterator<char>(in), {});
    if (in.bad()) return ::testing::AssertionFailure() << "could not read the golden " << golden.string();
    if (expected == actual) return ::testing::AssertionSuccess();
    const fs::path candidate = goldenCandidatePath(relativeName);
    auto failure = ::testing::AssertionFailure() << "the output differs from the golden " << golden.string();
    if (writeWhole(candidate, actual))
        failure << "; the output is in " << candidate.string();
    else
        failure << "; the output could not be written to " << candidate.string();
    return failure;
}

}  // namespace crv::testing
