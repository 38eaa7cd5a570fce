// Search maps: where the facilities of a navaid search lie around the
// proponent, and where the RF sources of an RF-source search lie around the
// facility.
#include "both_contexts.h"
#include "crv/viewers/plot_builders.h"

namespace crv::viewers {

using namespace crv::common;

platform::Expected<MapPage> PlotFacilityLocations(Plot&, const std::string& dirPath, const std::string& fileName,
                                                  const std::string&, const Geodesy&, ProgressDisplay*) {
    return platform::makeError("The facility map of " + detail::joinPath(dirPath, fileName) +
                               " cannot be drawn yet.");
}

platform::Expected<MapPage> PlotEmitterLocations(Plot&, const std::string& dirPath, const std::string& fileName,
                                                 const std::string&, const Geodesy&, ProgressDisplay*) {
    return platform::makeError("The RF emitter map of " + detail::joinPath(dirPath, fileName) +
                               " cannot be drawn yet.");
}

}  // namespace crv::viewers
