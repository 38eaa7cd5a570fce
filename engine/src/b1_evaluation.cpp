// B1 intermodulation: two- and three-signal products of FM stations near the
// navaid frequency, checked at every receiver point.
//
// Combinations are independent of each other, so they are evaluated on all
// threads, each with its own criteria working block; everything they produce
// (plot records, report and debug lines, counts, note flags) is kept per
// combination and written on this thread in list order. The files therefore do
// not depend on the thread count. FM levels come from a table built once per
// call for the stations of the combinations that need it; a combination reads
// it block by block and skips the blocks (or the whole combination) whose
// largest levels cannot reach the threshold, so only the few points that
// exceed get the full point-by-point work.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "b1_combination.h"
#include "b1_screen.h"
#include "b1_texts.h"
#include "case_input.h"
#include "criteria.h"
#include "criteria_b1.h"
#include "crv/platform/output_file.h"
#include "crv/platform/text_file.h"
#include "edit_list.h"
#include "evaluation_exports.h"
#include "failure.h"
#include "fixed_text.h"
#include "imod_lists.h"
#include "large_memory.h"
#include "parallel.h"
#include "plot_header.h"
#include "receiver_point_file.h"
#include "report_file.h"
#include "result_names.h"
#include "station_point_levels.h"

namespace crv::engine {

namespace {

namespace fs = std::filesystem;
using namespace b1;

// Share of the progress bar on a large case for the levels when they are all
// worked out before the list walk, and for their bounds when the walk works
// them out as it goes (the list walk has the rest).
constexpr double kLevelsShare = 90;
constexpr double kBoundsShare = 10;

// Progress of the phases before the list walk, reported from the calling
// thread between work items: on a large case the bar moves through the
// phase's share of it, and the cancel word is read at least every 200 ms; a
// small case makes no calls here, so it sees the list walk's calls alone,
// whatever the timing.
class PhaseProgress {
public:
    PhaseProgress(Progress& progress, bool large) : progress_(progress), large_(large) {}
    // The next polls move the bar from `from` to `to` (percent); the bar
    // shows `from` at once.
    void begin(double from, double to) {
        if (!large_) return;
        progress_.setSpan(from, to);
        reported_ = 0;
        last_ = std::chrono::steady_clock::now();
        progress_.checkpoint(0, 1);
    }
    void poll(std::size_t done, std::size_t total) {
        if (!large_) return;
        const long percent =
            total == 0 ? 100 : std::lround(static_cast<double>(done) * 100.0 / static_cast<double>(total));
        const auto now = std::chrono::steady_clock::now();
        if (percent == reported_ && now - last_ < std::chrono::milliseconds(200)) return;
        reported_ = percent;
        last_ = now;
        progress_.checkpoint(static_cast<double>(done), static_cast<double>(total));
    }
    void end() {
        if (large_) progress_.setSpan(0, 100);
    }

private:
    Progress& progress_;
    bool large_;
    long reported_ = -1;
    std::chrono::steady_clock::time_point last_ = std::chrono::steady_clock::now();
};

// The coarse grid may be used only when this run's grid wrote it: same grid,
// and not older than the receiver-point file (a vertical-only grid writes
// none, and a file left from an earlier run must not decide anything). The
// debugging style prescreens like the others, so that it finds exactly the
// cases they find; only its printout is longer.
std::optional<ReceiverPointFile> coarseGrid(const EngineState& state, const ReceiverPointFile& fine,
                                            std::string_view routine) {
    const int gridType = state.options.gridType;
    if (state.options.prescreen == 0 || gridType == 8 || gridType == 12) return std::nullopt;
    const std::string finePath = state.paths.runFolder + "Rcvr_Loc.plx";
    const std::string coarsePath = state.paths.runFolder + "Rcvr8Loc.plx";
    std::error_code ec;
    if (!fs::is_regular_file(coarsePath, ec)) return std::nullopt;
    const auto coarseTime = fs::last_write_time(coarsePath, ec);
    if (ec) return std::nullopt;
    const auto fineTime = fs::last_write_time(finePath, ec);
    if (ec || coarseTime < fineTime) return std::nullopt;
    ReceiverPointFile coarse = readReceiverPointFile(coarsePath, routine);
    const auto& a = coarse.header;
    const auto& b = fine.header;
    if (a.gridType != b.gridType || a.gridAltitudeFt != b.gridAltitudeFt || a.gridAngleDeg != b.gridAngleDeg ||
        a.frequencyMHz != b.frequencyMHz || trimRightCopy(a.navaidId) != trimRightCopy(b.navaidId))
        return std::nullopt;
    return coarse;
}

std::int16_t plusOne(std::int16_t n) { return n < 32767 ? static_cast<std::int16_t>(n + 1) : n; }

// Deletes what a cancelled or failed call leaves unless disarmed.
struct Cleanup {
    ReportFile& report;
    crv::platform::TextWriter& debug;
    std::string listPath;
    bool armed = true;
    ~Cleanup() {
        if (!armed) return;
        report.discard();
        debug.discard();
        crv::platform::removeFile(listPath);
    }
};

template <std::size_t N>
class B1Run {
    using Texts = B1Texts<N>;

public:
    B1Run(const EngineState& state, Progress& progress, std::int16_t& cases, std::int32_t& combinations)
        : state_(state), progress_(progress), cases_(cases), combinations_(combinations) {}

    void run() {
        const std::string listPath = state_.paths.tempFolder + Texts::listName;
        ReportFile report;
        crv::platform::TextWriter debug;
        Cleanup cleanup{report, debug, listPath};
        report.append(state_.paths.runFolder, Texts::routine);

        // The list file is written beside the work that follows (nothing
        // here reads it back); it is whole before the call removes it.
        ListLines listLines;
        ListFile listFile;
        const int count =
            N == 2 ? ListImod2(state_, listPath, b1WindowKHz(state_), {}, Texts::routine, &listLines, &listFile)
                   : ListImod3(state_, listPath, b1WindowKHz(state_), {}, Texts::routine, &listLines, &listFile);
        if (count == 0) {
            report.write(Texts::noList);
            report.close(Texts::routine);
            cleanup.armed = false;
            return;
        }

        // The list as written (it stays on disk for the length of the call, as before).
        const ImodRecords records = parseImodList(listLines, static_cast<int>(N), listPath, Texts::routine);
        listFile.freeLines(std::move(listLines));
        const ReceiverPointFile points = readReceiverPointFile(state_.paths.runFolder + "Rcvr_Loc.plx", Texts::routine);
        const std::optional<ReceiverPointFile> coarse = coarseGrid(state_, points, Texts::routine);
        if (state_.options.outputStyle == 3) {
            const std::string path = state_.paths.runFolder + Texts::debugName;
            if (auto opened = debug.open(path, crv::platform::WriteMode::Replace); !opened)
                fail(Texts::routine, "Could not create debugging file:\r" + opened.error());
        }

        report.write(Texts::heading);
        report.separator();

        const Numbering numbering = numberCombinations(records);
        // On a large case the levels take most of the call: they fill the
        // first part of the progress bar, the list walk the rest. A small
        // case reports the list walk alone.
        const bool large = points.points.size() * numbering.recordOfCombo.size() >= 2'000'000;
        PhaseProgress phase(progress_, large);

        // A combination is set up where it is needed (the prescreen, then the
        // walk) rather than kept: a million of them set up at once are a third
        // of a gigabyte, and fresh memory costs more to touch than the set-up.
        const StationTerms terms(state_);
        const auto setUpCombination = [&](std::size_t c) {
            return setUp<N>(state_, terms, records[numbering.recordOfCombo[c]], numbering.recordOfCombo[c]);
        };

        const LargeVector<char> triggered = prescreenAll(setUpCombination, numbering, coarse, phase);
        const Levels levels = buildLevels(records, numbering, triggered, points, phase);
        phase.end();
        walk(records, numbering, setUpCombination, triggered, points, levels, large, report, debug);

        if (cases_ == 0) {
            if (state_.options.outputStyle >= 2) report.line("");
            report.write(Texts::noInterference);
        }
        if (flags_.anyMasked) report.write(Texts::noteMasked);
        if (state_.scientific && flags_.anyBeyondLineOfSight) report.write(Texts::noteSight);
        if (flags_.anyBelowCutoff) report.write(Texts::noteCutoff);
        if (flags_.anyBelowTrigger) report.write(Texts::noteTrigger);

        listFile.finish();
        crv::platform::removeFile(listPath);
        report.close(Texts::routine);
        if (debug.isOpen()) {
            const std::string path = debug.path();
            if (!debug.close()) fail(Texts::routine, "Could not write debugging file:\r" + path);
        }
        cleanup.armed = false;
    }

private:
    // The list is numbered and scanned on all threads in parts of this many records.
    static constexpr std::size_t kPart = 16384;

    // The distinct combinations of the list (a repeated record is the same
    // combination found for another proponent): the combination of every
    // record (SIZE_MAX for a repeat) and the record of every combination.
    struct Numbering {
        UnwrittenVector<std::size_t> comboOfRecord;
        UnwrittenVector<std::size_t> recordOfCombo;
    };

    // The FM levels the evaluations read, the receiver points in the inner
    // loop's columns, and the share of the progress bar the levels took.
    struct Levels {
        StationPointLevels table;
        PointColumns columns;
        double share;
    };

    // Numbers the distinct combinations: counted per part of the list on all
    // threads, then numbered on all threads from each part's first number.
    static Numbering numberCombinations(const ImodRecords& records) {
        const std::size_t parts = (records.size() + kPart - 1) / kPart;
        std::vector<std::size_t> firstOfPart(parts + 1, 0);
        parallelFor(0, parts, [&](std::size_t part) {
            for (std::size_t i = part * kPart; i < std::min(records.size(), (part + 1) * kPart); ++i)
                if (!records[i].repeat) ++firstOfPart[part + 1];
        });
        for (std::size_t part = 0; part < parts; ++part) firstOfPart[part + 1] += firstOfPart[part];
        Numbering numbering{UnwrittenVector<std::size_t>(records.size()),
                            UnwrittenVector<std::size_t>(firstOfPart[parts])};
        parallelFor(0, parts, [&](std::size_t part) {
            std::size_t c = firstOfPart[part];
            for (std::size_t i = part * kPart; i < std::min(records.size(), (part + 1) * kPart); ++i) {
                if (records[i].repeat) {
                    numbering.comboOfRecord[i] = SIZE_MAX;
                    continue;
                }
                numbering.comboOfRecord[i] = c;
                numbering.recordOfCombo[c++] = i;
            }
        });
        return numbering;
    }

    // Whether each combination comes near its threshold on the coarse grid,
    // worked out on all threads; without a coarse grid every one is evaluated.
    template <class SetUp>
    LargeVector<char> prescreenAll(const SetUp& setUpCombination, const Numbering& numbering,
                                   const std::optional<ReceiverPointFile>& coarse, PhaseProgress& phase) const {
        const std::size_t combinationCount = numbering.recordOfCombo.size();
        LargeVector<char> triggered(combinationCount, 1);
        if (coarse) {
            phase.begin(0, 0);
            parallelFor(
                0, combinationCount,
                [&](std::size_t c) { triggered[c] = prescreen<N>(state_, setUpCombination(c), *coarse); },
                [&](std::size_t done) { phase.poll(done, combinationCount); });
        }
        return triggered;
    }

    // The levels of the stations that take part in a triggered combination.
    Levels buildLevels(const ImodRecords& records, const Numbering& numbering, const LargeVector<char>& triggered,
                       const ReceiverPointFile& points, PhaseProgress& phase) const {
        const std::size_t combinationCount = numbering.recordOfCombo.size();
        std::vector<int> slots;
        std::vector<std::atomic<unsigned char>> wanted(state_.stations.size() + 1);
        parallelFor(0, (combinationCount + kPart - 1) / kPart, [&](std::size_t part) {
            for (std::size_t c = part * kPart; c < std::min(combinationCount, (part + 1) * kPart); ++c)
                if (triggered[c])
                    for (std::size_t k = 0; k < N; ++k) {
                        // Read first: a store to a flag already set would
                        // take its cache line from every other thread.
                        auto& flag = wanted[static_cast<std::size_t>(records[numbering.recordOfCombo[c]].slots[k])];
                        if (!flag.load(std::memory_order_relaxed)) flag.store(1, std::memory_order_relaxed);
                    }
        });
        for (std::size_t s = 1; s < wanted.size(); ++s)
            if (wanted[s].load(std::memory_order_relaxed)) slots.push_back(static_cast<int>(s));
        // Where the values are worked out as the walk needs them, the
        // table's build is the bounds alone and the walk takes the most time.
        const double levelsShare = StationPointLevels::fillsWhenUsed(state_, slots) ? kBoundsShare : kLevelsShare;
        phase.begin(0, levelsShare);
        return Levels{StationPointLevels::build(state_, points, slots,
                                                [&](std::size_t done, std::size_t total) { phase.poll(done, total); }),
                      PointColumns(points), levelsShare};
    }

    // Walks the list in order, each distinct combination written as soon
    // as it and those before it are evaluated, while the threads go on
    // with those after it. Combinations go out in small chunks: their
    // cost differs a lot (most are rejected whole, the first to read a
    // block works its levels out), and a thread that loses its core holds
    // up only its own chunk. A short list goes out in smaller chunks, so
    // that every thread has a share.
    template <class SetUp>
    void walk(const ImodRecords& records, const Numbering& numbering, const SetUp& setUpCombination,
              const LargeVector<char>& triggered, const ReceiverPointFile& points, const Levels& levels, bool large,
              ReportFile& report, crv::platform::TextWriter& debug) {
        const std::size_t combinationCount = numbering.recordOfCombo.size();
        if (large) progress_.setSpan(levels.share, 100);
        const std::size_t kChunk = std::clamp<std::size_t>(combinationCount / 512, 1, 16);
        // The threads may run far ahead of the writing: a chunk that works
        // out many levels must not leave them waiting for room. With
        // debugging output a combination keeps every point's printout until
        // it is written, so fewer are kept ahead.
        const std::size_t ahead = state_.options.outputStyle == 3 ? 16 : 8192;
        std::vector<std::vector<CombinationResult<N>>> results(ahead);
        const auto total = static_cast<double>(records.size() + (N == 2 ? 1 : 2));
        const std::size_t step =
            N == 2 ? 1 : static_cast<std::size_t>(std::clamp<long>(std::lround(total / 20), 1, 25));
        std::size_t i = 0;  // the next list record to walk
        const auto walkTo = [&](std::size_t end, std::vector<CombinationResult<N>>* chunk, std::size_t first) {
            for (; i <= end && i <= records.size(); ++i) {
                if ((i + 1) % step == 0) progress_.checkpoint(static_cast<double>(i + 1), total);
                if (i == records.size() || records[i].repeat) continue;
                const std::size_t c = numbering.comboOfRecord[i];
                ++combinations_;
                CombinationResult<N>& r = (*chunk)[c - first];
                write(r.key, r, report, debug);
                r.plotPath.clear();  // reached: kept, whatever follows
            }
        };
        const std::size_t chunks = (combinationCount + kChunk - 1) / kChunk;
        try {
            parallelOrdered(
                chunks, ahead,
                [&](std::size_t k) {
                    std::vector<CombinationResult<N>>& out = results[k % ahead];
                    const std::size_t first = k * kChunk, end = std::min(combinationCount, first + kChunk);
                    out.assign(end - first, {});
                    for (std::size_t c = first; c < end; ++c) {
                        const Combination<N> combination = setUpCombination(c);
                        if (triggered[c])
                            out[c - first] =
                                CombinationEvaluation<N>(state_, combination, points, levels.columns, levels.table)
                                    .run();
                        out[c - first].key = CombinationKey<N>(combination);
                        // The plot files are written here, on all threads: each
                        // has its own name (the stations'), and its bytes do not
                        // depend on the order. A failed or cancelled call removes
                        // them with the other result files.
                        if (out[c - first].plotOpen) {
                            out[c - first].plotPath = writePlot(out[c - first].key, out[c - first]);
                            out[c - first].plot = {};
                        }
                    }
                },
                [&](std::size_t k) {
                    // The records up to this chunk's last combination.
                    const std::size_t last = std::min(combinationCount, (k + 1) * kChunk) - 1;
                    walkTo(numbering.recordOfCombo[last], &results[k % ahead], k * kChunk);
                    // The slot keeps its room for the chunk it takes next (freed here, it
                    // would be allocated again on another thread).
                    for (CombinationResult<N>& r : results[k % ahead]) r = {};
                });
        } catch (...) {
            // A cancel or failure keeps no plot file of a combination the
            // walk had not reached (a failed call removes the others too).
            for (const auto& chunk : results)
                for (const CombinationResult<N>& r : chunk)
                    if (!r.plotPath.empty()) crv::platform::removeFile(r.plotPath);
            throw;
        }
        walkTo(records.size(), nullptr, 0);  // the repeats after the last combination, and the final mark
    }

    void write(const CombinationKey<N>& c, const CombinationResult<N>& r, ReportFile& report,
               crv::platform::TextWriter& debug) {
        const bool debugging = state_.options.outputStyle == 3;
        const std::int16_t casesBefore = cases_;
        if (debugging && !r.debug.empty()) {
            static const EditFormat values(Texts::debugValues);
            static const EditFormat flags(Texts::debugFlags);
            static const EditFormat fileLine(Texts::debugFileLine);
            report.line("");
            report.separator();
            report.write(Texts::debugCaption);
            report.separator();
            for (const DebugPoint<N>& d : r.debug) {
                std::vector<EditValue> v{d.distanceNmi, d.azimuthDeg, d.altitudeFt, d.navaidDbm};
                for (double x : d.levelDbm) v.emplace_back(x);
                v.emplace_back(d.productDbm);
                v.emplace_back(d.thresholdDbm);
                for (double x : c.rejectionDb) v.emplace_back(x);
                for (double x : d.triggerDbm) v.emplace_back(x);
                for (double x : d.cutoffDbm) v.emplace_back(x);
                report.write(values, v);
                std::vector<EditValue> f{d.valid, casesBefore > 0 || d.plotOpen, d.belowTrigger};
                for (std::size_t k = 0; k < N; ++k) {
                    f.emplace_back(d.masked[k]);
                    f.emplace_back(d.belowCutoff[k]);
                    f.emplace_back(d.beyondSight[k]);
                }
                f.emplace_back(d.plotOpen);
                report.write(flags, f);
                std::vector<EditValue> line{d.distanceNmi, d.azimuthDeg, d.altitudeFt, d.navaidDbm};
                for (double x : d.levelDbm) line.emplace_back(x);
                line.emplace_back(d.thresholdDbm);
                for (const auto& l : fileLine.format(line)) debug.writeLine(l);
            }
            captionDue_ = true;
        }
        if (r.plotOpen) cases_ = plusOne(cases_);  // its plot file is written
        flags_ |= r.flags;

        if (debugging) {
            report.separator();
            report.write(Texts::summaryHeading);
        }
        if (state_.options.outputStyle >= 2 || r.pointCount >= 1) {
            if (captionDue_) {
                report.write(Texts::caption1);
                report.write(Texts::caption2);
                report.separator();
                captionDue_ = false;
            }
            std::vector<EditValue> v;
            for (const int s : c.slots) {
                const Station& st = state_.slot(s);
                v.emplace_back(st.frequencyMHz);
                v.emplace_back(static_cast<long long>(st.ordinal));
                v.emplace_back(st.callSign);
            }
            v.emplace_back(c.productMHz);
            v.emplace_back(static_cast<long long>(c.deltaKHz));
            if (state_.options.gridType == 6 || state_.options.gridType == 7) {
                v.emplace_back(static_cast<long long>(r.firstSectionCount));
                v.emplace_back(std::string("H"));
                report.write(Texts::splitRow, v);
                report.write(Texts::splitRest,
                             {static_cast<long long>(r.pointCount - r.firstSectionCount), std::string("V")});
            } else {
                v.emplace_back(static_cast<long long>(r.pointCount));
                report.write(Texts::row, v);
            }
        }
        if (debugging) {
            report.line("");
            debug.writeLine("");
        }
    }

    // Writes the combination's plot file and returns its path.
    std::string writePlot(const CombinationKey<N>& c, const CombinationResult<N>& r) const {
        std::array<const Station*, N> st{};
        for (std::size_t k = 0; k < N; ++k) st[k] = &state_.slot(c.slots[k]);
        std::string name;
        if constexpr (N == 2)
            name = b1TwoSignalPlotName(st[0]->ordinal, st[1]->ordinal);
        else
            name = b1ThreeSignalPlotName(st[0]->ordinal, st[1]->ordinal, st[2]->ordinal);
        std::vector<EditValue> t1, t2;
        for (const Station* s : st) {
            t1.emplace_back(trimRightCopy(s->callSign));
            t1.emplace_back(static_cast<long long>(s->ordinal));
            t2.emplace_back(padded(s->callSign, 7));
            t2.emplace_back(s->frequencyMHz);
        }
        const std::string title1 = editLines(Texts::title1, t1).front();
        const std::string title2 = editLines(Texts::title2, t2).front();

        crv::formats::RecordWriter writer;
        PlotHdr(state_, writer, name, title1, title2, Texts::routine);
        const std::string path = writer.path();
        try {
            for (const InterferencePoint& p : r.plot) writer.writeRecord(crv::formats::encodeInterferencePoint(p));
        } catch (...) {
            writer.discard();
            throw;
        }
        if (!writer.close()) {
            crv::platform::removeFile(path);
            fail(Texts::routine, "Could not write plot file:\r" + path);
        }
        return path;
    }

    const EngineState& state_;
    Progress& progress_;
    std::int16_t& cases_;
    std::int32_t& combinations_;
    B1StickyFlags flags_;
    bool captionDue_ = true;
};

template <std::size_t N>
void runB1(const char* runFolder, Progress& progress, std::int16_t& cases, std::int32_t& combinations) {
    EngineState& state = sharedState();
    ReadData(state, argumentText(runFolder, 260, B1Texts<N>::routine, "run folder"));
    // Results a killed run left half-written under temporary names go first.
    crv::platform::removeStrayTemporaries(state.paths.runFolder);
    if (state.options.intermodType == 0) return;
    B1Run<N>(state, progress, cases, combinations).run();
}

}  // namespace

void runB1_2Sig(const char* runFolder, Progress& progress, std::int16_t& cases, std::int32_t& combinations) {
    runB1<2>(runFolder, progress, cases, combinations);
}

void runB1_3Sig(const char* runFolder, Progress& progress, std::int16_t& cases, std::int32_t& combinations) {
    runB1<3>(runFolder, progress, cases, combinations);
}

}  // namespace crv::engine
