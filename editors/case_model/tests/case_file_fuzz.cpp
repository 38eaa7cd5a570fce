// Fuzz entry: a case data file opened as the case data editor opens it
// (upgraded first when it has an older layout), and written back.
#include <cstdint>
#include <filesystem>

#include "crv/editors/case_document.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace crv::editors;
    static const FieldDictionary dictionary = FieldDictionary::forEdition(crv::resources::Edition::Scientific);
    const std::string path = crv::fuzz::scratchFile(data, size, "case.dat");
    CaseDocument doc(dictionary);
    if (doc.open(path, LLDistFunction{})) {
        (void)CaseFileLines(doc.caseData(), dictionary, false);
        doc.saveChecks();
    }
    // An upgrade leaves a backup beside the file; they would pile up.
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(crv::fuzz::scratchFolder(), ec))
        std::filesystem::remove(entry.path(), ec);
    return 0;
}
