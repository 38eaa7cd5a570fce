#pragma once
// Test fixture for the A2/B2 evaluation: the two-station ILS case changed so
// that its levels can be worked out by hand, and receiver-point files written
// point by point.
//
// Navaid at 108.100 MHz, field elevation 500 ft. Proponents WAAA-FM (slot and
// ordinal 1, 107.900 MHz, 50 kW, antenna at 800 ft) and WCCC (slot 2,
// ordinal 3, 98.500 MHz, far from the points); WIGN (ordinal 2) is ignored
// and takes no slot. Both
// proponents radiate a constant beam (element type 55, no pattern), so a
// station's level at a point is its base term less 20 log10 of the slant
// range. Antenna rejection type 12 is a constant 5 dB.
#include <cstdint>
#include <string>
#include <vector>

#include "case_folder.h"
#include "crv50.h"
#include "crv/formats/plot_file.h"

namespace crv::engine::test {

// Station WAAA-FM's position in decimal degrees (40 35 00 N, 75 25 00 W).
inline constexpr double kWaaaLat = 40.0 + 35.0 / 60.0;
inline constexpr double kWaaaLon = 75.0 + 25.0 / 60.0;

struct Options {
    int grid = 1, intermod = 0, rejection = 12, criteria = 4, cutoff = 4, style = 1;
};

inline std::vector<std::string> evaluationCase(const Options& o) {
    auto lines = ilsCaseLines();
    lines[kNavaidLine] = setColumns(lines[kNavaidLine], 10, 16, "108.100");
    auto& waaa = lines[kFirstStation];
    waaa = setColumns(waaa, 10, 16, "107.900");
    waaa = setColumns(waaa, 54, 55, "55");
    waaa = setColumns(waaa, 57, 58, "0");
    auto& wccc = lines[kSecondStation];
    wccc = setColumns(wccc, 54, 55, "55");
    wccc = setColumns(wccc, 64, 65, "1");
    auto& opt = lines[kOptionsLine];
    opt = setColumns(opt, 1, 3, std::to_string(o.grid));
    opt = setColumns(opt, 4, 6, std::to_string(o.intermod));
    opt = setColumns(opt, 7, 9, std::to_string(o.rejection));
    opt = setColumns(opt, 10, 12, std::to_string(o.criteria));
    opt = setColumns(opt, 13, 15, std::to_string(o.cutoff));
    opt = setColumns(opt, 16, 18, std::to_string(o.style));
    return lines;
}

// A receiver point d nmi due north of WAAA-FM. The distance and azimuth from
// the navaid are only carried into the plot records, so they are chosen to
// show the record encoding.
inline crv::formats::ReceiverPoint pointNorthOfWaaa(std::int16_t id, double dNmi, float altitudeFt,
                                                    float navaidDistanceNmi = 3.25f, float azimuthDeg = 359.5f) {
    crv::formats::ReceiverPoint p;
    p.id = id;
    p.distanceNmi = navaidDistanceNmi;
    p.azimuthDeg = azimuthDeg;
    p.altitudeFt = altitudeFt;
    p.latitude = static_cast<float>(kWaaaLat + dNmi / 60.0);
    p.longitude = static_cast<float>(kWaaaLon);
    p.levelDbm = -86.0f;
    return p;
}

inline crv::formats::ReceiverPoint sectionEnd() {
    crv::formats::ReceiverPoint p;
    p.id = crv::formats::kSectionEnd;
    return p;
}

inline void writePointFile(const std::string& path, const std::vector<crv::formats::ReceiverPoint>& points) {
    crv::formats::RecordWriter w;
    if (!w.open(path)) throw std::runtime_error("cannot write " + path);
    crv::formats::PlotHeader h;
    h.fileName = "Rcvr_Loc.plx";
    h.title1 = "ILX receiver points";
    w.writeHeader(h);
    for (const auto& p : points) w.writeRecord(crv::formats::encodeReceiverPoint(p));
    w.close();
}

// The plot file's point records (after its 18 header records).
inline std::vector<crv::formats::InterferencePoint> plotPoints(const std::string& path) {
    crv::formats::RecordReader r;
    std::vector<crv::formats::InterferencePoint> out;
    if (!r.open(path)) return out;
    std::string error;
    if (!crv::formats::readPlotHeader(r, error)) return out;
    while (auto rec = r.next())
        if (auto p = crv::formats::decodeInterferencePoint(*rec)) out.push_back(*p);
    return out;
}

struct EvaluateResult {
    std::int16_t status = -1;
    std::int16_t cases = -1;
};

inline EvaluateResult runEvaluate(const std::string& runFolder, CrvProgressCallback callback = nullptr) {
    EvaluateResult r;
    ::Evaluate(runFolder.c_str(), callback, &r.status, &r.cases);
    return r;
}

// The report's lines after the heading: from the first line after the
// heading's end (the evaluation sections), so these tests do not depend on the
// heading's own layout.
inline std::vector<std::string> linesAfter(const std::vector<std::string>& lines, std::size_t headingLines) {
    return {lines.begin() + static_cast<std::ptrdiff_t>(std::min(headingLines, lines.size())), lines.end()};
}

}  // namespace crv::engine::test
