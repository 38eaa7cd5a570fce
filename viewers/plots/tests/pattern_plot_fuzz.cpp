// Fuzz entry: a pattern plot file (".ptx") drawn polar and rectangular, in dB
// and in percent, as the plot window draws it.
#include <cstdint>
#include <exception>

#include "crv/common/drawing/drawing_error.h"
#include "crv/viewers/plot_builders.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace crv::viewers;
    const std::string folder = crv::fuzz::scratchFolder();
    crv::fuzz::scratchFile(data, size, "LocHorU.ptx");
    for (int variant = 0; variant < 4; ++variant) {
        (void)crv::common::tryDrawing([&] {
            try {
                auto plot = crv::common::BeginPlot({750, 1000}, true, "");
                (void)PlotAntennaPattern(*plot, folder, "LocHorU.ptx", variant & 1, variant & 2);
            } catch (const crv::common::DrawingError&) {
                throw;
            } catch (const std::exception&) {
            }
        });
    }
    return 0;
}
