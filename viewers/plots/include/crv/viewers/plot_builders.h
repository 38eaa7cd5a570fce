#pragma once
// The page builders of the plot window: each draws one page of a plot file
// into an open plot (both its screen picture and, when the plot has one, its
// metafile) and hands back what the window's cursor readout needs. The caller
// begins and ends the plot and opens and removes the progress display.
// Errors (a missing, short or damaged file) come back as a message naming
// the file; nothing of a half-read file is drawn past the damage.
#include "crv/common/app_state.h"
#include "crv/common/drawing/panel.h"
#include "crv/common/drawing/plot.h"
#include "crv/common/progress_display.h"

#include <crv/platform/expected.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace crv::viewers {

// The level bands and class colours of the plot parameters.
struct LevelBands {
    common::PlotColorTable colours = common::kFactoryPlotColors;
    std::int16_t navLevelMin = -99;
    std::int16_t navLevelIncr = 6;
    std::int16_t intLevelMin = 3;
    std::int16_t intLevelIncr = 3;
};
LevelBands levelBandsOf(const common::AppState& state);

// The 13 class thresholds of a band: min, min + incr, ... held in 16 bits.
std::array<std::int16_t, 13> levelThresholds(std::int16_t minimum, std::int16_t increment);
// The class (1..14) of a level: the first threshold it does not exceed.
int levelClass(const std::array<std::int16_t, 13>& thresholds, std::int32_t level);
// A stored real level as the whole number the classes compare: nearest, halves
// to even, held within 16 bits; not-a-number counts as the lowest level.
std::int16_t levelToInt16(double level);

// What kind of page a plot file gives, by its name.
enum class PageKind { Pattern = 0, Simulation = 1, FacilityMap = 2, EmitterMap = 3, Legend = 4 };
PageKind pageKindOf(const std::string& fileName);

// Interference plot (".plt") and receiver-point (".plx") pages.
struct SimulationPage {
    common::PanelRecord azimuthPanel;
    common::PanelRecord elevationPanel;
    int svType = 0;
    float fieldElevation = 0;
    float course = 0;
    bool canceled = false;
};
platform::Expected<SimulationPage> PlotSimulationFile(common::Plot& plot, const std::string& dirPath,
                                                      const std::string& fileName, const LevelBands& bands,
                                                      common::ProgressDisplay* progress = nullptr);

// The legend page; true when cancelled.
bool DrawLegend(common::Plot& plot, const LevelBands& bands, common::ProgressDisplay* progress = nullptr);

// Antenna pattern pages (".ptx").
struct PatternPage {
    common::PanelRecord panel;
    bool canceled = false;
};
platform::Expected<PatternPage> PlotAntennaPattern(common::Plot& plot, const std::string& dirPath,
                                                   const std::string& fileName, bool polarPlot, bool decibels,
                                                   common::ProgressDisplay* progress = nullptr);

// Flat-earth position arithmetic of the engine (longitude positive west); the
// plot window passes the engine binding's, tests the engine library's.
struct Geodesy {
    void (*DistLL)(float distanceNmi, float bearingDeg, float latitude, float longitude, float* newLatitude,
                   float* newLongitude) = nullptr;
    void (*LLDist)(float latitude1, float longitude1, float latitude2, float longitude2, float* distanceNmi,
                   float* bearingDeg) = nullptr;
};

// Search maps: facility map ("nav@", "loc@", "vor@", "com@" files) and RF
// emitter map ("fm@" files and a run folder's "Rfi.plt"). A navaid search file
// names no case, so the facility map is given the case being worked on; the
// emitter map names the case written in its own file.
struct MapPage {
    common::PanelRecord panel;
    float centreLat = 0;
    float centreLon = 0;
    bool canceled = false;
};
platform::Expected<MapPage> PlotFacilityLocations(common::Plot& plot, const std::string& dirPath,
                                                  const std::string& fileName, const std::string& airspaceCase,
                                                  const Geodesy& geodesy, common::ProgressDisplay* progress = nullptr);
platform::Expected<MapPage> PlotEmitterLocations(common::Plot& plot, const std::string& dirPath,
                                                 const std::string& fileName, const Geodesy& geodesy,
                                                 common::ProgressDisplay* progress = nullptr);

}  // namespace crv::viewers
