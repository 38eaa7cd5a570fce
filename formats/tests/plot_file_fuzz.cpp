// Fuzz entry: an interference plot file (".plt") through the record reader,
// its header and its point records, as the plot viewer reads it.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_support.h"
#include "crv/formats/plot_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path = crv::fuzz::scratchFile(data, size, "01____A2.plt");
    crv::formats::RecordReader reader;
    if (!reader.open(path)) return 0;
    std::string error;
    if (!crv::formats::readPlotHeader(reader, error)) return 0;
    while (auto record = reader.next()) (void)crv::formats::decodeInterferencePoint(*record);
    return 0;
}
