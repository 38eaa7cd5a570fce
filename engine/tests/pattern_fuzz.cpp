// Fuzz entry: a pattern file read as the localizer pattern (kind, scale and
// gain) and as an FM vertical pattern (kind and scale).
#include <cstddef>
#include <cstdint>

#include "failure.h"
#include "fuzz_engine.h"
#include "pattern_files.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path = crv::fuzz::engineInput(data, size, "user/LocHor.pat");
    for (auto kind : {crv::engine::PatternKind::Localizer, crv::engine::PatternKind::FmVertical}) {
        crv::engine::Pattern pattern;
        try {
            crv::engine::readPatternFile(path, kind, pattern, "ReadData       ");
        } catch (const crv::engine::EngineFailure&) {
        }
    }
    return 0;
}
