// Fuzz entry: a search plot file drawn as both maps: the facility map of a
// navaid search and the RF-emitter map of an RF-source search or run copy.
#include <cstdint>
#include <exception>

#include "crv/common/drawing/drawing_error.h"
#include "crv/viewers/plot_builders.h"
#include "crv50.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace crv::viewers;
    const std::string folder = crv::fuzz::scratchFolder();
    const Geodesy geo{&::DistLL, &::LLDist};
    crv::fuzz::scratchFile(data, size, "nav@FZZ.plt");
    crv::fuzz::scratchFile(data, size, "fm@FZZ.plt");
    for (int map = 0; map < 2; ++map) {
        (void)crv::common::tryDrawing([&] {
            try {
                auto plot = crv::common::BeginPlot({750, 1000}, true, "");
                if (map == 0)
                    (void)PlotFacilityLocations(*plot, folder, "nav@FZZ.plt", "FUZZ", geo);
                else
                    (void)PlotEmitterLocations(*plot, folder, "fm@FZZ.plt", geo);
            } catch (const crv::common::DrawingError&) {
                throw;
            } catch (const std::exception&) {
            }
        });
    }
    return 0;
}
