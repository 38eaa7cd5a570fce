#include "stress_case.h"

#include <cstdio>
#include <string>
#include <vector>

#include "case_lines.h"
#include "sample_common.h"

namespace crv::bench {

using crv::sample::NavaidLine;
using crv::sample::Options;
using crv::sample::Source;

bool writeBenchCase(const std::string& runFolder, const BenchCase& c) {
    crv::sample::Random random(20240314);
    // Localizer of the built-in antenna model (array type 0), runway heading
    // 90 degrees, expanded U.S. service volume (type 1).
    const double navLat = 39.5, navLon = 84.2;
    const NavaidLine nav{"QBX", 90, 109.5, navLat, navLon, 800, 10000, 15, 0, 1, 0, 0};

    std::vector<Source> sources;
    for (int i = 0; i < c.stations; ++i) {
        double lat = 0, lon = 0;
        crv::sample::offset(navLat, navLon, random.uniform(1.0, 35.0), random.uniform(0.0, 360.0), lat, lon);
        const double mhz = 88.1 + 0.2 * random.below(100);
        const double erpKw = random.uniform(0.1, 100.0);
        const int elevationFt = 900 + random.below(1500);
        // Built-in elements only (no user pattern files): generic, the bay
        // arrays and the constant beam.
        const int element = random.below(56);
        // Every tenth station is a proponent.
        const int status = i % (c.stations / c.proponents) == 0 ? 1 : 0;
        char call[16];
        std::snprintf(call, sizeof call, "QS%03d", i + 1);
        sources.push_back({call, mhz, lat, lon, erpKw, elevationFt, element, 0, 0, status, status ? "APP" : "LIC"});
    }
    // Grid type 1 (horizontal at the floor), intermod type 1 (third order
    // within 200 kHz, two and three signals), ICAO 1998 rejection, criteria
    // and cutoff, short summaries.
    const Options options{1, 1, 4, 4, 4, 1, 1000, 0, c.spacingFt, 500};
    const auto lines = crv::sample::caseFile(
        nav, sources, options, c.stations == kStressCase.stations ? "QBX STRESS" : "QBX LARGEST", "BENCHMARK FIELD, ZQ",
        {"ILS Localizer (default)", "ILS U.S. Expanded", "Horizontal Only, Bottom of FPSV", "3rd Order Within 200 kHz",
         "ICAO 1998 Model", "ICAO 1998 Receiver", "ICAO 1998 Cutoff", "Print Short Summaries"});
    return crv::sample::writeLines(runFolder + "Rfi.plt", lines);
}

}  // namespace crv::bench
