// Fuzz entry: an interference or receiver-point plot file drawn as the plot
// window draws a page (header, records, both panels), both layouts.
#include <cstdint>
#include <exception>

#include "crv/common/drawing/drawing_error.h"
#include "crv/viewers/plot_builders.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace crv::viewers;
    const std::string folder = crv::fuzz::scratchFolder();
    crv::fuzz::scratchFile(data, size, "01____A2.plt");
    crv::fuzz::scratchFile(data, size, "Rcvr_Loc.plx");
    for (const char* name : {"01____A2.plt", "Rcvr_Loc.plx"}) {
        // The plot window turns a drawing failure into this page's message.
        (void)crv::common::tryDrawing([&] {
            try {
                auto plot = crv::common::BeginPlot({750, 1000}, true, "");
                (void)PlotSimulationFile(*plot, folder, name, LevelBands{});
            } catch (const crv::common::DrawingError&) {
                throw;
            } catch (const std::exception&) {
            }
        });
    }
    return 0;
}
