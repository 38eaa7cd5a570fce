// The directional-antenna table of the report heading and the pattern plot
// files (".ptx") the viewer draws the antennas of the case from.
#include <array>
#include <cmath>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "crv/platform/text_file.h"
#include "failure.h"
#include "fixed_text.h"
#include "fm_level.h"
#include "navaid_models.h"
#include "parallel.h"
#include "crv/formats/pattern_plot_file.h"
#include "report_heading.h"

namespace crv::engine {

namespace {

using crv::formats::PatternPlot;
using crv::formats::patternRow;

constexpr const char* kRoutine = "WritePatterns  ";
constexpr int kConstantBeamElement = 55;
constexpr int kComElement = 57;

std::string twoDigits(int n) {
    std::string s = std::to_string(n);
    return s.size() < 2 ? "0" + s : s;
}

// Names of the radiating element types 0..57, as the pattern plot heading
// shows them.
std::string elementName(int type) {
    static const char* kTilts[6] = {"", ", 0.5 Degree Beam Tilt", ", 1.0 Degree Beam Tilt",
                                    ", 1/2 Lambda Spacing", ", 1/2 Lambda Spacing, 0.5 Deg. Tilt",
                                    ", 1/2 Lambda Spacing, 1.0 Deg. Tilt"};
    static const int kBays[8] = {3, 4, 5, 6, 8, 10, 12, 14};
    if (type == 0) return "Generic FM";
    if (type >= 1 && type <= 6) {
        const int bays = type <= 3 ? 1 : 2;
        return std::to_string(bays) + "-Bay" + kTilts[(type - 1) % 3];
    }
    if (type >= 7 && type <= 54) {
        const int k = type - 7;
        return std::to_string(kBays[k / 6]) + "-Bay" + kTilts[k % 6];
    }
    if (type == 55) return "Constant Beam Level";
    if (type == 56) return "Generic VOR";
    if (type == 57) return "Generic VHF COM";
    return {};
}

struct NamedPlot {
    std::string fileName;
    PatternPlot plot;
};

NamedPlot fmHorizontalPlot(const EngineState& state, int n) {
    PatternPlot plot;
    plot.caption = "FM horizontal pattern data description:  ";
    plot.description = padded(state.patterns.fmHorizontal[static_cast<std::size_t>(n)].description, 25);
    for (int k = 0; k <= 180; ++k) {
        const double angle = 2.0 * k;
        plot.rows.push_back(patternRow(angle, FMHorGain(state.patterns, n, angle)));
    }
    return {"FmHorU" + twoDigits(n) + ".ptx", plot};
}

NamedPlot fmVerticalPlot(const EngineState& state, int element) {
    PatternPlot plot;
    std::string fileName;
    if (element <= kComElement) {
        plot.caption = "FM broadcast antenna type:  ";
        plot.description = padded(elementName(element), 41);
        fileName = "FmVrt" + twoDigits(element) + ".ptx";
    } else {
        const int n = element - kComElement;
        plot.caption = "FM vertical pattern data description:  ";
        plot.description = padded(state.patterns.fmVertical[static_cast<std::size_t>(n)].description, 25);
        fileName = "FmVrtU" + std::to_string(n) + ".ptx";
    }
    const double frequencyMHz = element == kComElement ? 127.0 : 112.0;
    for (int k = 0; k <= 180; ++k) {
        const double angle = 0.5 * k;
        const double a = angle * 0.0174532925199433;
        const double db = FMVrtGain(state.patterns, element, std::max(20.0 * std::cos(a), 0.00001), 20.0 * std::sin(a),
                                    frequencyMHz);
        plot.rows.push_back(patternRow(angle, db));
    }
    return {fileName, plot};
}

NamedPlot localizerPlot(const EngineState& state) {
    const int type = state.navaid.arrayType;
    PatternPlot plot;
    std::string fileName;
    if (type == 38) {
        plot.caption = "Localizer pattern description:  ";
        plot.description = padded(state.patterns.localizer.description, 25);
        fileName = "LocHorU.ptx";
    } else {
        plot.caption = "Localizer antenna type:  ";
        // The antenna label may end in the array's gain text ("Gain ..." in
        // its last 13 columns), which the file's own gain line replaces.
        const std::string label = state.texts.labels.empty() ? std::string() : state.texts.labels[0];
        if (label.find("Gain") != std::string::npos) {
            const std::string text = trimRightCopy(label);
            const std::size_t keep = text.size() > 13 ? text.size() - 13 : 1;
            plot.description = text.substr(0, keep);
        } else {
            plot.description = padded(label, 45);
        }
        fileName = "LocHor" + twoDigits(type) + ".ptx";
    }
    plot.gainDbi = localizerArrayPattern(state, type, 0.0).arrayDb;
    for (int angle = 0; angle <= 180; ++angle)
        plot.rows.push_back(patternRow(angle, localizerArrayPattern(state, type, angle).patternDb));
    return {fileName, plot};
}

// True when the file at path holds exactly these bytes.
bool fileHolds(const std::string& path, const std::string& bytes) {
    // Only a regular file is compared: a FIFO or device in its place would
    // never answer; it is replaced like any file that differs.
    auto f = crv::platform::openRegularFile(path);
    if (!f) return false;
    std::string held(bytes.size() + 1, '\0');  // one byte more: a longer file differs
    const std::size_t n = std::fread(held.data(), 1, held.size(), f->get());
    if (std::ferror(f->get())) return false;
    return n == bytes.size() && held.compare(0, n, bytes) == 0;
}

// Writes the plot file unless it already holds the same bytes: a run in the
// same folder mostly finds the files of its previous run, and replacing a file
// safely (a flushed temporary, then a rename) costs far more than reading it.
crv::platform::Expected<void> writePlotFile(const std::string& path, const PatternPlot& plot) {
    std::string bytes;
    for (const std::string& line : crv::formats::patternPlotLines(plot)) {
        bytes += line;
        bytes += "\r\n";
    }
    // Only a file the writer could replace counts as holding them: a link
    // to a file with the same bytes is still refused, naming what it is.
    if (crv::platform::checkWritableTarget(path) && fileHolds(path, bytes)) return {};
    return crv::platform::writeFileAtomic(path, bytes);
}

}  // namespace

void WritePatterns(const EngineState& state, ReportFile& report) {
    std::array<bool, 26> horizontal{};
    std::array<bool, 64> element{};
    for (const Station& st : state.stations) {
        if (st.horizontalPattern >= 1 && st.horizontalPattern <= 25)
            horizontal[static_cast<std::size_t>(st.horizontalPattern)] = true;
        if (st.elementType >= 0 && st.elementType <= 63 && st.elementType != kConstantBeamElement)
            element[static_cast<std::size_t>(st.elementType)] = true;
    }

    bool anyHorizontal = false;
    for (bool used : horizontal) anyHorizontal = anyHorizontal || used;
    if (anyHorizontal) {
        report.write("(/,/,' The following stations use a directional antenna: ',/,/,"
                     "'    ID   Call      Rotation      File        ','Description',/)");
        const EditFormat row("(1X,I6,4X,A7,F8.1,4X,'FmHor',I2.2,'.pat',4X,A25)");
        for (const Station& st : state.stations) {
            if (st.horizontalPattern < 1 || st.horizontalPattern > 25) continue;
            report.write(row, {static_cast<long long>(st.ordinal), st.callSign, st.rotationDeg,
                               static_cast<long long>(st.horizontalPattern),
                               state.patterns.fmHorizontal[static_cast<std::size_t>(st.horizontalPattern)].description});
        }
        report.write("(/,1X,A77)", {std::string(77, '_')});
    }

    // The plots are worked out and written on all threads; a failure is
    // reported for the first plot in this order that could not be written, so
    // the message does not depend on the thread count.
    std::vector<std::function<NamedPlot()>> plots;
    for (int n = 1; n <= 25; ++n)
        if (horizontal[static_cast<std::size_t>(n)]) plots.emplace_back([&state, n] { return fmHorizontalPlot(state, n); });
    for (int e = 0; e <= 63; ++e)
        if (element[static_cast<std::size_t>(e)]) plots.emplace_back([&state, e] { return fmVerticalPlot(state, e); });
    const int array = state.navaid.arrayType;
    if ((array >= 2 && array <= 31) || array == 38) plots.emplace_back([&state] { return localizerPlot(state); });

    std::vector<std::string> failure(plots.size());
    std::vector<std::string> paths(plots.size());
    parallelFor(0, plots.size(), [&](std::size_t i) {
        const NamedPlot p = plots[i]();
        paths[i] = state.paths.runFolder + p.fileName;
        if (auto written = writePlotFile(paths[i], p.plot); !written) failure[i] = written.error();
    });
    // The plots belong to the report: a call that leaves no report leaves
    // none of them either (only its own: what stood where one was refused
    // stays as it was).
    for (std::size_t i = 0; i < paths.size(); ++i)
        if (failure[i].empty()) report.noteCompanion(paths[i]);
    for (const std::string& error : failure)
        if (!error.empty()) fail(kRoutine, "Could not write pattern plot file:\r" + error);
}

}  // namespace crv::engine
