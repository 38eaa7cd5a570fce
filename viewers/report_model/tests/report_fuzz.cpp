// Fuzz entry: a report read and paged as the report viewer shows it.
#include <cstdint>

#include "crv/viewers/report_files.h"
#include "crv/viewers/report_pages.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace crv::viewers;
    const auto text = readReport(crv::fuzz::scratchFile(data, size, "Rfi.txt"));
    if (!text) return 0;
    for (int lines : {1, 55}) {
        const ReportPages pages = ReportPages::paginate(*text, lines);
        for (int page : {0, 1, 2, pages.pageCount(), pages.pageCount() + 1})
            (void)pageText(pages.pageLines(*text, page), lines);
    }
    return 0;
}
