// Evaluate: A2/B2 and brute-force evaluation of every proponent over the
// receiver points the grid wrote. Creates the simulation report, one plot file
// per proponent and kind of interference found, and with debugging output the
// point-by-point file "A2B2.dbg".
//
// The points are evaluated on all threads, in blocks; the plot records, report
// lines and debug lines are written on this thread in file order as the
// blocks are ready, so every file is the same whatever the thread count.
// Progress and cancel stay on this thread too.
#include <algorithm>
#include <cstdint>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string>
#include <vector>

#include "a2b2_point.h"
#include "case_input.h"
#include "criteria.h"
#include "evaluation_exports.h"
#include "failure.h"
#include "fixed_text.h"
#include "parallel.h"
#include "plot_header.h"
#include "receiver_point_file.h"
#include "report_file.h"
#include "report_heading.h"
#include "result_names.h"
#include "station_point_levels.h"

#include "crv/platform/output_file.h"
#include "crv/platform/text_file.h"

namespace crv::engine {

namespace {

constexpr const char* kRoutine = "Evaluate       ";
// Points per work item: small, so that a thread that loses its core holds up
// little. The threads may run this many blocks ahead of the writing; a block
// keeps only the points that have something to write (counted, or printed for
// debugging), so the window costs little memory.
constexpr std::size_t kPointsPerBlock = 512;
constexpr std::size_t kBlocksAhead = 1024;
// With debugging output every point keeps its printed lines until written:
// a shorter window keeps that memory to some tens of megabytes.
constexpr std::size_t kDebugBlocksAhead = 64;

using crv::formats::RecordWriter;

// The export's counts are 16-bit: they stop at the largest value rather than
// wrap to a negative number.
void addSaturating(std::int16_t& count) {
    if (count < 32767) ++count;
}

// Everything this call writes that a cancel or failure must not leave behind:
// the plots being written, the report, the debugging file, and the
// receiver-point file the run can no longer be trusted to match.
class Outputs {
public:
    ReportFile report;
    crv::platform::TextWriter debug;
    RecordWriter a2Plot, b2Plot;

    void deleteOnFailure(const std::string& path) { toDelete_.push_back(path); }
    void discardAll() {
        if (a2Plot.isOpen()) a2Plot.discard();
        if (b2Plot.isOpen()) b2Plot.discard();
        report.discard();  // its pattern plots too, even once the report is closed
        if (debug.isOpen()) debug.discard();
        for (const auto& path : toDelete_) std::remove(path.c_str());
    }

private:
    std::vector<std::string> toDelete_;
};

// The progress protocol: before each read of a point record (and before the
// read that meets the end of the file) the callback is called once the count
// of records read reaches the next mark.
class ProgressMarks {
public:
    ProgressMarks(Progress& progress, double total) : progress_(progress), total_(total) {
        step_ = std::clamp(std::llround(total / 20.0), 1LL, 500LL);
        mark_ = step_;
    }
    void beforeRead() {
        if (counter_ >= mark_) {
            progress_.checkpoint(static_cast<double>(counter_), total_);
            mark_ += step_;
        }
    }
    void read() { ++counter_; }
    // The marks of `count` records read one after another, as beforeRead
    // and read for each would give them.
    void readRecords(long long count) {
        const long long end = counter_ + count;
        while (counter_ < end) {
            beforeRead();
            counter_ = std::min(end, std::max(mark_, counter_ + 1));
        }
    }

private:
    Progress& progress_;
    double total_;
    long long step_ = 1, mark_ = 1, counter_ = 0;
};

void closePlot(RecordWriter& plot) {
    if (!plot.isOpen()) return;
    const std::string path = plot.path();
    if (!plot.close()) {
        std::remove(path.c_str());
        fail(kRoutine, "Could not write plot file:\r" + path);
    }
}

void writeOrFail(RecordWriter& plot, const std::string& record) {
    plot.writeRecord(record);
    if (plot.failed()) fail(kRoutine, "Could not write plot file:\r" + plot.path());
}

struct Tally {
    long long count = 0;
    long long atFirstSectionEnd = -1;  // -1 until the first section end
};

class Evaluation {
public:
    Evaluation(const EngineState& state, Outputs& out, Progress& progress, std::int16_t& cases)
        : state_(state), out_(out), progress_(progress), cases_(cases) {}

    void run();

private:
    bool criteria2() const { return state_.options.criteriaType == 2; }
    bool fieldCriteria2() const { return criteria2() && !state_.scientific; }
    bool debugging() const { return state_.options.outputStyle == 3; }
    bool extended() const { return state_.options.outputStyle == 2 || state_.options.outputStyle == 3; }
    bool splitSections() const { return state_.options.gridType == 6 || state_.options.gridType == 7; }

    // A point of a block that has something to write, with its outcome.
    struct Written {
        std::size_t point;
        A2B2Point outcome;
    };
    using Block = std::vector<Written>;
    // What the writing of one proponent's pass carries from block to block.
    struct ProponentPass {
        Tally a2, b2;
        int sectionsPassed = 0;
        bool debugCaptionDone = false;
    };

    A2B2Station stationOf(int slot) const;
    void evaluateProponents(ProgressMarks& marks);
    void evaluateBlock(const A2B2Station& station, std::size_t p0, std::size_t p1, Block& out) const;
    void writeBlock(const A2B2Station& station, std::size_t p0, std::size_t p1, const Block& block,
                    ProponentPass& pass, ProgressMarks& marks);
    void endPass(const A2B2Station& station, const ProponentPass& pass, ProgressMarks& marks);
    void openPlot(RecordWriter& plot, bool a2, int slot, int sectionsPassed);
    void summaryCaption();
    void summaryRow(const Station& st, const char* label, double offsetMHz, const Tally& tally);
    void bruteForce();

    const EngineState& state_;
    Outputs& out_;
    Progress& progress_;
    std::int16_t& cases_;
    ReceiverPointFile points_;
    std::vector<std::size_t> sectionEnds_;  // the indexes of the point file's section ends
    std::vector<double> largestExcess_;
    bool anyA2_ = false, anyB2_ = false, captionDone_ = false;
};

void Evaluation::run() {
    const std::string& folder = state_.paths.runFolder;
    ReportFile& report = out_.report;
    report.create(folder, kRoutine);
    WriteHeader(state_, report);
    if (criteria2()) {
        report.write("(/,/,1X,'AIRBORNE COMM RECEIVER')");
        report.separator();
    }
    // The intermodulation options without A2/B2 leave the report at its heading.
    if (state_.options.intermodType != 3 && state_.options.intermodType != 4) {
        if (debugging()) {
            const std::string path = folder + "A2B2.dbg";
            if (auto opened = out_.debug.open(path, crv::platform::WriteMode::Replace); !opened)
                fail(kRoutine, "Could not create debugging file:\r" + opened.error());
            out_.deleteOnFailure(path);
        }
        const std::string pointPath = folder + "Rcvr_Loc.plx";
        out_.deleteOnFailure(pointPath);
        points_ = readReceiverPointFile(pointPath, kRoutine);
        for (std::size_t p = 0; p < points_.points.size(); ++p)
            if (points_.points[p].id == crv::formats::kSectionEnd) sectionEnds_.push_back(p);

        // Work counts records (point records and section ends alike), one
        // pass over the file per proponent.
        const double total = static_cast<double>(points_.recordCount()) *
                                 static_cast<double>(state_.proponents.size()) +
                             static_cast<double>(state_.stations.size() / 10);
        ProgressMarks marks(progress_, total);

        if (!fieldCriteria2()) {
            report.write("(/,1X,'Evaluation of adjacent channel (A2) and',' overload (B2) interference')");
            report.separator();
        }
        largestExcess_.assign(state_.stations.size() + 1, 0.0);
        evaluateProponents(marks);

        if (!anyA2_ && !anyB2_ && !fieldCriteria2()) {
            if (state_.options.outputStyle == 2) report.line("");
            report.write("(1X,'No ',A,' interference found.',/)", {std::string("A2/B2")});
        }
        if (criteria2()) bruteForce();
    }
    // The debugging file is closed before the report: when it cannot be
    // written the report is still open and goes with it, so a failed call
    // leaves no report behind.
    if (out_.debug.isOpen()) {
        const std::string path = out_.debug.path();
        if (!out_.debug.close()) fail(kRoutine, "Could not write debugging file:\r" + path);
    }
    report.close(kRoutine);
}

void Evaluation::openPlot(RecordWriter& plot, bool a2, int slot, int sectionsPassed) {
    const Station& st = state_.slot(slot);
    const std::string call = trimRightCopy(st.callSign);
    const std::string name = a2 ? a2PlotName(st.ordinal, CombinedAB(state_)) : b2PlotName(st.ordinal);
    const std::string title1 =
        editLines(a2 ? "('Adjacent Channel (A2) plot:  ',A,' (',I3,')')" : "('Receiver Overload (B2) plot:  ',A,' (',I3,')')",
                  {call, static_cast<long long>(st.ordinal)})
            .front();
    const std::string title2 = editLines("('Frequency:  ',A,' = ',F7.3,' MHz')", {call, st.frequencyMHz}).front();
    PlotHdr(state_, plot, name, title1, title2, kRoutine);
    // A plot first opened after a section of the point file has ended gets
    // that section's end too, so that plot and point file keep the same
    // sections (the viewer draws the horizontal and the vertical part apart).
    if (splitSections())
        for (int i = 0; i < sectionsPassed; ++i)
            writeOrFail(plot, crv::formats::encodeInterferencePoint(crv::formats::sectionEndPoint()));
}

A2B2Station Evaluation::stationOf(int slot) const {
    const Station& st = state_.slot(slot);
    A2B2Station station;
    station.slot = slot;
    station.rejectionDb = AntRej(state_, st.frequencyMHz);
    station.stationTermDb = a2b2StationTermDb(state_, st, station.rejectionDb);
    station.checkA2 = !criteria2();
    station.checkB2 = !CombinedAB(state_);
    station.debugging = debugging();
    return station;
}

void Evaluation::evaluateBlock(const A2B2Station& station, std::size_t p0, std::size_t p1, Block& out) const {
    const Station& st = state_.slot(station.slot);
    out.clear();
    for (std::size_t p = p0; p < p1; ++p) {
        const auto& rec = points_.points[p];
        if (rec.id == crv::formats::kSectionEnd) continue;
        // The level (the costly part) only where the point is used: tied to
        // this station and in sight, or printed for debugging.
        double gainDb = std::numeric_limits<double>::quiet_NaN();
        double distanceNmi = gainDb;
        if (rec.id == 0 || std::abs(static_cast<int>(rec.id)) == station.slot) {
            const DistBearing db = stationToPoint(state_, station.slot, rec);
            distanceNmi = db.distanceNmi;
            if (station.debugging ||
                !beyondRadioHorizon(st.antennaElevationFt, state_.navaid.fieldElevationFt, rec.altitudeFt, distanceNmi))
                gainDb = pathTermDb(state_, station.slot, rec, db);
        }
        A2B2Point o = evaluateA2B2Point(state_, station, rec, gainDb, distanceNmi);
        if (o.considered && (o.a2 || o.b2 || station.debugging)) out.push_back({p, std::move(o)});
    }
}

void Evaluation::evaluateProponents(ProgressMarks& marks) {
    const std::size_t n = points_.points.size();
    const std::size_t proponents = state_.proponents.size();
    std::vector<A2B2Station> stations;
    for (const std::int16_t slot : state_.proponents) stations.push_back(stationOf(slot));
    // Every proponent is one pass over the points, in blocks: one stream of
    // blocks for the whole export, evaluated on all threads and written here
    // in file order as each is ready. (A proponent's pass is at least one
    // block, so that an empty point file still gets its summary.)
    const std::size_t blocksPerPass = std::max<std::size_t>(1, (n + kPointsPerBlock - 1) / kPointsPerBlock);
    const std::size_t ahead = debugging() ? kDebugBlocksAhead : kBlocksAhead;
    std::vector<Block> ready(ahead);
    ProponentPass pass;
    parallelOrdered(
        proponents * blocksPerPass, ahead,
        [&](std::size_t item) {
            const std::size_t p0 = (item % blocksPerPass) * kPointsPerBlock;
            evaluateBlock(stations[item / blocksPerPass], p0, std::min(n, p0 + kPointsPerBlock), ready[item % ahead]);
        },
        [&](std::size_t item) {
            const std::size_t block = item % blocksPerPass;
            if (block == 0) pass = ProponentPass{};
            const A2B2Station& station = stations[item / blocksPerPass];
            const std::size_t p0 = block * kPointsPerBlock;
            writeBlock(station, p0, std::min(n, p0 + kPointsPerBlock), ready[item % ahead], pass, marks);
            if (block + 1 == blocksPerPass) endPass(station, pass, marks);
        });
}

void Evaluation::writeBlock(const A2B2Station& station, std::size_t p0, std::size_t p1, const Block& block,
                            ProponentPass& pass, ProgressMarks& marks) {
    ReportFile& report = out_.report;
    const int slot = station.slot;
    const bool b2Plotted = !fieldCriteria2();
    // The block's records in file order: only its section ends and the points
    // it kept (those with something to write) need any work here, so they are
    // taken in turn rather than every point looked at (this thread writes
    // while the others evaluate, and a pass over every point of every
    // proponent kept it from its share of the evaluating).
    marks.readRecords(static_cast<long long>(p1 - p0));
    auto sectionEnd = std::lower_bound(sectionEnds_.begin(), sectionEnds_.end(), p0);
    auto next = block.begin();
    for (;;) {
        const std::size_t e = sectionEnd != sectionEnds_.end() && *sectionEnd < p1 ? *sectionEnd : SIZE_MAX;
        const std::size_t p = next != block.end() ? next->point : SIZE_MAX;
        if (e == SIZE_MAX && p == SIZE_MAX) break;
        if (e < p) {
            ++sectionEnd;
            const std::string end = crv::formats::encodeInterferencePoint(crv::formats::sectionEndPoint());
            if (out_.a2Plot.isOpen()) writeOrFail(out_.a2Plot, end);
            if (out_.b2Plot.isOpen()) writeOrFail(out_.b2Plot, end);
            if (++pass.sectionsPassed == 1) {
                pass.a2.atFirstSectionEnd = pass.a2.count;
                pass.b2.atFirstSectionEnd = pass.b2.count;
            }
            continue;
        }
        const auto& rec = points_.points[p];
        const A2B2Point& o = (next++)->outcome;
        if (o.a2) {
            if (pass.a2.count == 0) {
                addSaturating(cases_);
                openPlot(out_.a2Plot, true, slot, pass.sectionsPassed);
            }
            writeOrFail(out_.a2Plot, crv::formats::encodeInterferencePoint(crv::formats::makeInterferencePoint(
                                         o.levelDbm - o.threshold1Dbm, rec.distanceNmi, rec.azimuthDeg,
                                         rec.altitudeFt, static_cast<float>(o.levelDbm))));
            ++pass.a2.count;
            anyA2_ = true;
        }
        if (o.b2) {
            if (pass.b2.count == 0) {
                addSaturating(cases_);
                if (b2Plotted) openPlot(out_.b2Plot, false, slot, pass.sectionsPassed);
            }
            if (b2Plotted)
                writeOrFail(out_.b2Plot, crv::formats::encodeInterferencePoint(crv::formats::makeInterferencePoint(
                                             o.levelDbm - o.threshold2Dbm, rec.distanceNmi, rec.azimuthDeg,
                                             rec.altitudeFt, static_cast<float>(o.levelDbm))));
            ++pass.b2.count;
            anyB2_ = true;
            auto& excess = largestExcess_[static_cast<std::size_t>(slot)];
            excess = std::max(excess, o.levelDbm - o.threshold2Dbm);
        }
        if (debugging()) {
            if (!pass.debugCaptionDone) {
                report.line("");
                report.separator();
                report.write(
                    "(5X,'DISRX ',9X,'RAD   ',9X,'RXELEV',9X,'NAVDBM',9X,'PDBM',/,6X,'A2TH  ',9X,'B2TH  ',9X,'LR',/,"
                    "7X,'LOSFLG/A2FLG/B2FLG')");
                report.separator();
                pass.debugCaptionDone = true;
            }
            report.lines(o.reportLines);
            out_.debug.writeLine(o.debugLine);
        }
    }
}

void Evaluation::endPass(const A2B2Station& station, const ProponentPass& pass, ProgressMarks& marks) {
    const Station& st = state_.slot(station.slot);
    ReportFile& report = out_.report;
    marks.beforeRead();  // the read that meets the end of the file

    closePlot(out_.a2Plot);
    closePlot(out_.b2Plot);
    const double offsetMHz = state_.navaid.frequencyMHz - st.frequencyMHz;
    if (debugging()) {
        report.separator();
        report.write("(/,1X,'A2/B2 summary for above data:',/)");
        captionDone_ = false;  // the column caption is printed again for each proponent
    }
    if (!criteria2() && (extended() || pass.a2.count >= 1))
        summaryRow(st, CombinedAB(state_) ? "A2/B2" : " A2  ", offsetMHz, pass.a2);
    if (!CombinedAB(state_) && (extended() || pass.b2.count >= 1)) summaryRow(st, " B2  ", offsetMHz, pass.b2);
    if (debugging()) {
        report.line("");
        out_.debug.writeLine("");
    }
}

void Evaluation::summaryCaption() {
    if (captionDone_) return;
    out_.report.write("(1X,' Freq     ID    Call    Type    Offset    #Pts')");
    out_.report.write("(1X,'  MHz                             MHz')");
    out_.report.separator();
    captionDone_ = true;
}

void Evaluation::summaryRow(const Station& st, const char* label, double offsetMHz, const Tally& tally) {
    summaryCaption();
    const long long ordinal = st.ordinal;
    if (splitSections()) {
        const long long firstPart = tally.atFirstSectionEnd < 0 ? tally.count : tally.atFirstSectionEnd;
        out_.report.write("(1X,F7.3,2X,I4,2X,A7,2X,A5,2X,F7.3,1X,I6,A1)",
                          {st.frequencyMHz, ordinal, st.callSign, std::string(label), offsetMHz, firstPart,
                           std::string("H")});
        out_.report.write("(40X,I6,A1)", {tally.count - firstPart, std::string("V")});
    } else {
        out_.report.write("(1X,F7.3,2X,I4,2X,A7,2X,A5,2X,F7.3,2X,I6)",
                          {st.frequencyMHz, ordinal, st.callSign, std::string(label), offsetMHz, tally.count});
    }
}

void Evaluation::bruteForce() {
    ReportFile& report = out_.report;
    if (state_.scientific && !debugging()) report.line("");
    report.write("(/,1X,'Results of check for brute-force interference')");
    report.separator();
    bool anyExceeded = false;
    // The proponent list runs from the last slot to the first; this table
    // lists the stations in slot order.
    for (auto it = state_.proponents.rbegin(); it != state_.proponents.rend(); ++it) {
        const Station& st = state_.slot(*it);
        const double m = largestExcess_[static_cast<std::size_t>(*it)];
        if (!(m > 0) && !extended()) continue;
        report.write("(1X,'The maximum brute-force level for station ',I4,' (',A,', ',F7.3,') is',F6.1,' dBm.')",
                     {static_cast<long long>(st.ordinal), trimRightCopy(st.callSign), st.frequencyMHz, m - 10.0});
        if (m > 0) {
            anyExceeded = true;
            report.write("(1X,'This exceeds the brute-force limit of -10 dBm by',F5.1,' dB.',/)", {m});
        } else {
            report.write("(1X,'This does not exceed the brute-force limit of ','-10 dBm.',/)");
        }
    }
    if (!anyExceeded) report.write("(1X,'No ',A,' interference found.',/)", {std::string("brute-force")});
}

}  // namespace

void runEvaluate(const char* runFolder, Progress& progress, std::int16_t& cases) {
    EngineState& state = sharedState();
    ReadData(state, argumentText(runFolder, 260, kRoutine, "run folder"));
    // Results a killed run left half-written under temporary names go first.
    crv::platform::removeStrayTemporaries(state.paths.runFolder);
    Outputs out;
    try {
        Evaluation(state, out, progress, cases).run();
    } catch (...) {
        out.discardAll();
        throw;
    }
}

}  // namespace crv::engine
