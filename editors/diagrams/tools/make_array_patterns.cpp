// Writes the C++ source of the array-pattern table from the engine's models,
// so the editor's sheet shows the same patterns the engine computes with.
#include <cstdio>

#include "localizer_pattern_table.h"

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    std::FILE* out = std::fopen(argv[1], "wb");
    if (!out) return 1;
    std::fprintf(out, "// Made at build time from the engine's localizer array models.\n"
                      "#include \"crv/editors/array_patterns.h\"\n\nnamespace crv::editors {\nnamespace {\n"
                      "const float kTable[30][181] = {\n");
    for (int t = crv::engine::kFirstTableArrayType; t <= crv::engine::kLastTableArrayType; ++t) {
        std::fprintf(out, "{");
        for (int d = 0; d <= 180; ++d)
            std::fprintf(out, "%.3ff%s", crv::engine::localizerPatternDb(t, d), d < 180 ? "," : "");
        std::fprintf(out, "},\n");
    }
    std::fprintf(out, "};\n}  // namespace\n\ndouble arrayPatternDb(int arrayType, int degree) {\n"
                      "    if (arrayType < kFirstArrayType || arrayType > kLastArrayType || degree < 0 || degree > 180)\n"
                      "        return -50.0;\n"
                      "    return kTable[arrayType - kFirstArrayType][degree];\n}\n\n}  // namespace crv::editors\n");
    return std::fclose(out) == 0 ? 0 : 1;
}
