#pragma once
// Goldens: files in the source tree that a test's output must equal byte for
// byte. They are written only when asked for, with CRV_UPDATE_GOLDENS=1 in
// the environment; any other value, or none, compares. A golden that differs
// leaves the output beside it as a candidate in the build tree
// (<build>/golden-candidates/), never in the source tree, for a look or a
// diff.
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

namespace crv::testing {

// True when CRV_UPDATE_GOLDENS is "1".
bool updatingGoldens();

// Where the candidate for the golden `relativeName` goes.
std::filesystem::path goldenCandidatePath(const std::string& relativeName);

// With updatingGoldens(), writes `actual` to `golden` (and fails only when it
// cannot). Otherwise `actual` must equal the golden: a golden that is missing
// or unreadable fails (a lost file cannot turn the comparison into a pass)
// and one that differs fails with the candidate written to
// goldenCandidatePath(relativeName).
::testing::AssertionResult matchesGolden(const std::filesystem::path& golden, const std::string& relativeName,
                                         const std::string& actual);

}  // namespace crv::testing
