#pragma once
// Test helper for the intermodulation and ground COM evaluations: a case built
// line by line with constant-beam stations (element type 55, no pattern), so
// every FM level is the station's base term less 20 log10 of the distance, and
// receiver-point files written directly instead of by the grid.
#include <stdlib.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>

#include <string>
#include <vector>

#include "case_folder.h"
#include "crv/platform/temp_folder.h"
#include "crv/formats/plot_file.h"

namespace crv::engine::test {

struct StationLine {
    std::string call;
    double frequencyMHz;
    double latitude, longitude;  // decimal degrees, whole seconds
    double erpKw = 100;
    int antennaFt = 1000;
    int status = 0;  // 0 none, 1 proponent, 2 ignored
};

inline std::string fmt(const char* f, double v) {
    char b[64];
    std::snprintf(b, sizeof b, f, v);
    return b;
}

inline std::string dmsColumns(std::string line, int first, double value, int degreeWidth) {
    const long total = std::lround(value * 3600);
    line = setColumns(line, first, first + degreeWidth - 1, std::to_string(total / 3600));
    line = setColumns(line, first + degreeWidth + 1, first + degreeWidth + 2, std::to_string(total / 60 % 60));
    return setColumns(line, first + degreeWidth + 4, first + degreeWidth + 5, std::to_string(total % 60));
}

inline std::string stationLine(const StationLine& s) {
    std::string l(75, ' ');
    l = setColumns(l, 2, 8, s.call + std::string(7 - s.call.size(), ' '));
    l = setColumns(l, 10, 16, fmt("%.3f", s.frequencyMHz));
    l = dmsColumns(l, 18, s.latitude, 3);
    l = dmsColumns(l, 28, s.longitude, 4);
    l = setColumns(l, 39, 46, fmt("%.4f", s.erpKw));
    l = setColumns(l, 48, 52, std::to_string(s.antennaFt));
    l = setColumns(l, 54, 55, "55");
    l = setColumns(l, 57, 58, "0");
    l = setColumns(l, 60, 62, "0");
    l = setColumns(l, 64, 65, std::to_string(s.status));
    l = setColumns(l, 67, 69, "LIC");
    return setColumns(l, 71, 75, "0");
}

struct CaseOptionsLine {
    int gridType = 1, intermod = 1, rejection = 11, criteria = 2, cutoff = 2, style = 2, prescreen = 0;
};

inline std::string optionsLine(const CaseOptionsLine& o) {
    char b[128];
    std::snprintf(b, sizeof b, "%3d%3d%3d%3d%3d%3d  3000  45  1000 500%3d  0", o.gridType, o.intermod, o.rejection,
                  o.criteria, o.cutoff, o.style, o.prescreen);
    return b;
}

// Navaid line: identifier, frequency, service-volume and array types; the site
// is 40 30 15 N, 75 20 30 W, field elevation 500 ft.
inline std::string navaidLine(double frequencyMHz, int arrayType = 0, int serviceVolume = 0) {
    std::string l = " ILX 123 110.100  40 30 15   75 20 30   500  8000  15  0  0  18  4500 ";
    l = setColumns(l, 10, 16, fmt("%.3f", frequencyMHz));
    l = setColumns(l, 55, 56, std::to_string(arrayType));
    return setColumns(l, 58, 59, std::to_string(serviceVolume));
}

inline std::vector<std::string> caseLines(const std::string& navaid, const std::vector<StationLine>& stations,
                                          const CaseOptionsLine& options) {
    std::vector<std::string> lines{"CRV Version 5.0.6", navaid};
    for (const auto& s : stations) lines.push_back(stationLine(s));
    lines.push_back(" $$$$");
    lines.push_back(optionsLine(options));
    lines.push_back(" ILX TEST CASE   Lakeside Municipal        01/02/24 30");
    return lines;
}

// A receiver-point file with the given points (section ends included).
inline void writePoints(const std::string& path, const std::vector<crv::formats::ReceiverPoint>& points,
                        int gridType = 1) {
    crv::formats::PlotHeader h;
    h.fileName = path.substr(path.size() - 12);
    h.title1 = "ILX receiver points";
    h.frequencyMHz = 108.1f;
    h.navaidId = "ILX";
    h.gridType = static_cast<std::int16_t>(gridType);
    h.gridAltitudeFt = 3000;
    h.gridAngleDeg = 45;
    crv::formats::RecordWriter w;
    w.open(path);
    w.writeHeader(h);
    for (const auto& p : points) w.writeRecord(crv::formats::encodeReceiverPoint(p));
    w.close();
}

inline crv::formats::ReceiverPoint sectionEnd() { return {crv::formats::kSectionEnd, 0, 0, 0, 0, 0, 0}; }

// The interference records of a plot file (after its 18 header records).
inline std::vector<crv::formats::InterferencePoint> plotPoints(const std::string& path, std::string* title1 = nullptr,
                                                               std::string* title2 = nullptr) {
    crv::formats::RecordReader r;
    std::vector<crv::formats::InterferencePoint> out;
    if (!r.open(path)) return out;
    std::string error;
    auto h = crv::formats::readPlotHeader(r, error);
    if (!h) return out;
    if (title1) *title1 = h->title1;
    if (title2) *title2 = h->title2;
    while (auto rec = r.next()) out.push_back(*crv::formats::decodeInterferencePoint(*rec));
    return out;
}

// Keeps the engine's temporary lists inside the test's own folder while it
// lives (parallel test processes must not share them).
class PrivateTemp {
public:
    explicit PrivateTemp(const CaseFolder& folder) {
        if (const char* old = std::getenv("TMPDIR")) old_ = old;
        std::filesystem::create_directories(folder.root + "tmp");
        ::setenv("TMPDIR", (folder.root + "tmp").c_str(), 1);
    }
    ~PrivateTemp() {
        if (old_.empty()) ::unsetenv("TMPDIR");
        else ::setenv("TMPDIR", old_.c_str(), 1);
    }
    PrivateTemp(const PrivateTemp&) = delete;
    PrivateTemp& operator=(const PrivateTemp&) = delete;

private:
    std::string old_;
};
// The engine's temporary file of this test process (TMPDIR as PrivateTemp
// sets it, then the process's own folder inside the user's).
inline std::string tempFile(const CaseFolder& folder, const std::string& name) {
    const std::string base = folder.root + "tmp";
    const std::string temp = crv::platform::privateTempFolder().value();
    EXPECT_EQ(temp.rfind(base, 0), 0u) << temp;
    return temp + name;
}

}  // namespace crv::engine::test
