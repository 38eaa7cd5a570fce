// Interference at the ground receiver of a VHF COM facility: one fixed point
// at the site, checked against every proponent (in-band and out-of-band) and
// against the two- and three-signal intermodulation products of the stations
// near the site, with fixed level criteria. Appends its section to the report
// and writes no plot.
#include <algorithm>
#include <cmath>
#include <optional>

#include "case_input.h"
#include "criteria.h"
#include "crv/platform/output_file.h"
#include "crv/platform/text_file.h"
#include "edit_list.h"
#include "evaluation_exports.h"
#include "failure.h"
#include "fixed_text.h"
#include "fm_level.h"
#include "geodesy.h"
#include "imod_lists.h"
#include "report_file.h"

namespace crv::engine {

namespace {

constexpr const char* kRoutine = "GrndCOM        ";
constexpr double kNotComputed = -999;
constexpr double kInBandLimitDbm = -104;
constexpr double kOutOfBandLimitDbm = -4;
constexpr double kPrimaryLevelDbm = -10;
constexpr double kSecondaryLevelDbm = -30;

// Out-of-band rejection of the ground receiver by FM frequency (MHz); each
// upper bound belongs to its own segment.
double outOfBandRejectionDb(double f) {
    if (f <= 100) return 50 - 0.485 * f;
    if (f <= 150) return 1.5 - 0.02 * (f - 100);
    if (f <= 200) return 0.5 + 0.45 * (f - 150);
    if (f <= 300) return 23 + 0.085 * (f - 200);
    if (f <= 400) return 31.5 + 0.02 * (f - 300);
    if (f <= 500) return 33.5 + 0.11 * (f - 400);
    if (f <= 600) return 44.5 - 0.25 * (f - 500);
    if (f <= 700) return 19.5 - 0.035 * (f - 600);
    return 16 - 0.01 * (f - 700);
}

std::int16_t plusOne(std::int16_t n) { return n < 32767 ? static_cast<std::int16_t>(n + 1) : n; }

class GroundCom {
public:
    GroundCom(const EngineState& state, Progress& progress, std::int16_t& cases)
        : state_(state), progress_(progress), cases_(cases) {}

    ~GroundCom() {
        if (done_) return;
        // Cancelled or failed: leave neither the report nor a half-written
        // debugging file nor the temporary lists behind.
        report_.discard();
        if (debug_) debug_->discard();
        crv::platform::removeFile(list2Path_);
        crv::platform::removeFile(list3Path_);
    }

    void run() {
        const int imod = state_.options.intermodType;
        const bool withStationChecks = imod != 3 && imod != 4;
        list2Path_ = state_.paths.tempFolder + kImod2ListName;
        list3Path_ = state_.paths.tempFolder + kImod3ListName;

        // The receiver stands 40 ft above the field at the site itself.
        site_.id = 0;
        site_.distanceNmi = 0;
        site_.azimuthDeg = 0;
        site_.altitudeFt = state_.navaid.fieldElevationFt + 40;
        const std::size_t n = state_.stations.size();
        toSite_.assign(n + 1, {});
        StationFilter near(n + 1, false);
        for (std::size_t s = 1; s <= n; ++s) {
            const Station& st = state_.slot(static_cast<int>(s));
            toSite_[s] = LLDist(st.latitude, st.longitude, state_.navaid.latitude, state_.navaid.longitude);
            near[s] = toSite_[s].distanceNmi <= 1;
        }

        report_.append(state_.paths.runFolder, kRoutine);
        if (imod != 0) report_.line("");
        report_.write("(/,/,1X,'GROUND COMM FACILITY')");
        report_.separator();

        counter_ = static_cast<double>(n);
        total_ = static_cast<double>(n) + (withStationChecks ? static_cast<double>(state_.proponents.size()) : 0);
        int count2 = 0, count3 = 0;
        if (imod != 0) {
            count2 = ListImod2(state_, list2Path_, comWindowKHz(state_), near, kRoutine);
            count3 = ListImod3(state_, list3Path_, comWindowKHz(state_), near, kRoutine);
            total_ += count2 + count3 + static_cast<double>(n);
            counter_ += static_cast<double>(n);
        }

        if (withStationChecks) ComStation();
        if (imod != 0) {
            ComImod<2>(count2, list2Path_);
            ComImod<3>(count3, list3Path_);
        }
        report_.close(kRoutine);
        done_ = true;
    }

private:
    void tick() {
        counter_ += 1;
        progress_.checkpoint(counter_, total_);
    }

    bool debugging() const { return state_.options.outputStyle == 3; }

    // Appends to a debugging file of an earlier export for one phase.
    void openDebug(const char* name) {
        if (!debugging()) return;
        debug_.emplace();
        const std::string path = state_.paths.runFolder + name;
        if (auto opened = debug_->open(path, crv::platform::WriteMode::Extend); !opened)
            fail(kRoutine, "Could not open debugging file:\r" + opened.error());
    }
    void closeDebug() {
        if (!debug_) return;
        const std::string path = debug_->path();
        if (!debug_->close()) fail(kRoutine, "Could not write debugging file:\r" + path);
        debug_.reset();
    }
    void debugLine(const char* layout, const std::vector<EditValue>& values) {
        debug_->writeLine(" GROUND");
        for (const auto& l : editLines(layout, values)) debug_->writeLine(l);
    }

    void ComStation() {
        const auto& proponents = state_.proponents;
        const double e = state_.navaid.fieldElevationFt;
        const double fN = state_.navaid.frequencyMHz;
        inBand_.assign(state_.stations.size() + 1, kNotComputed);
        outOfBand_.assign(state_.stations.size() + 1, kNotComputed);
        openDebug("A2B2.dbg");

        for (const int s : proponents) {
            tick();
            const Station& st = state_.slot(s);
            const double f = st.frequencyMHz;
            if (f >= 108 && f <= 137) continue;
            const double distance = toSite_[static_cast<std::size_t>(s)].distanceNmi;
            const double horizon = 1.23 * (std::sqrt(std::max(st.antennaElevationFt - e, 0.0)) +
                                           std::sqrt(std::max(site_.altitudeFt - e, 0.0)));
            // Beyond the radio horizon a station cannot interfere; the
            // debugging output still shows its values, which count nowhere.
            const bool beyond = horizon <= distance;
            if (beyond && !debugging()) continue;

            const double ra = std::min(10 * std::log10(st.erpKw) + 73, 80.0);
            const double rb = outOfBandRejectionDb(f);
            const double level = FMLevel(state_, s, 10 * std::log10(st.erpKw) + 24.36 - 3, distance,
                                         toSite_[static_cast<std::size_t>(s)].bearingDeg, site_);
            const double inBand = level - 20 * std::log10(fN) - ra;
            const double outOfBand = level - 20 * std::log10(f) - rb;
            const bool a1 = !beyond && inBand > kInBandLimitDbm;
            const bool b2 = !beyond && outOfBand > kOutOfBandLimitDbm;
            if (!beyond) {
                inBand_[static_cast<std::size_t>(s)] = inBand;
                outOfBand_[static_cast<std::size_t>(s)] = outOfBand;
                if (a1) cases_ = plusOne(cases_);
                if (b2) cases_ = plusOne(cases_);
            }
            if (debugging()) {
                report_.separator();
                report_.write("(5X,'DISRX ',9X,'RAD   ',9X,'RXELEV',9X,'PDBMA1',9X,'PDBMB2',/,"
                              "6X,'A1TH  ',9X,'B2TH  ',9X,'SR    ',9X,'LA',/,7X,'LOSFLG/A1FLG/B2FLG')");
                report_.separator();
                report_.write("(1X,5(E14.4,1X))", {site_.distanceNmi, site_.azimuthDeg, site_.altitudeFt, inBand,
                                                  outOfBand});
                report_.write("(2X,4(E14.4,1X))", {kInBandLimitDbm, kOutOfBandLimitDbm, ra, rb});
                report_.write("(7X,2(L1,1X),L1,/)", {beyond, a1, b2});
                debugLine("(1X,7(E14.4,1X))", {site_.distanceNmi, site_.azimuthDeg, site_.altitudeFt, inBand, outOfBand,
                                               kInBandLimitDbm, kOutOfBandLimitDbm});
            }
        }
        closeDebug();
        if (debugging()) report_.separator();
        results("out-of-band", outOfBand_, kOutOfBandLimitDbm,
                "(1X,'The out-of-band level for station ',I4,' (',A,', ',F7.3,') is',F6.1,' dBm.')",
                "(1X,'This exceeds the out-of-band limit of',I3,' dBm by',F5.1,' dB.',/)",
                "(1X,'This does not exceed the out-of-band limit of',I3,' dBm.',/)");
        results("in-band", inBand_, kInBandLimitDbm,
                "(1X,'The in-band level for station ',I4,' (',A,', ',F7.3,') is',F7.1,' dBm.')",
                "(1X,'This exceeds the in-band limit of',I5,' dBm by',F5.1,' dB.',/)",
                "(1X,'This does not exceed the in-band limit of',I5,' dBm.',/)");
    }

    void results(const char* kind, const std::vector<double>& value, double limit, const char* levelLine,
                 const char* exceedsLine, const char* keepsLine) {
        report_.write("(/,1X,'Results of check for ',A,' interference')", {std::string(kind)});
        report_.separator();
        bool any = false;
        const auto& proponents = state_.proponents;
        for (auto it = proponents.rbegin(); it != proponents.rend(); ++it) {
            const Station& st = state_.slot(*it);
            const double v = value[static_cast<std::size_t>(*it)];
            const bool exceeds = v > limit;
            if (!exceeds && !(state_.options.outputStyle >= 2 && v > -998)) continue;
            report_.write(levelLine, {static_cast<long long>(st.ordinal), trimRightCopy(st.callSign), st.frequencyMHz, v});
            if (exceeds) {
                any = true;
                report_.write(exceedsLine, {static_cast<long long>(limit), v - limit});
            } else {
                report_.write(keepsLine, {static_cast<long long>(limit)});
            }
        }
        if (!any) report_.write("(1X,'No ',A,' interference found.',/)", {std::string(kind)});
    }

    template <int N>
    void ComImod(int count, const std::string& listPath) {
        const bool two = N == 2;
        if (count == 0) {
            report_.write(two ? "(/,/,1X,'There are no 2-signal intermodulation ','combinations for this data file.',/)"
                              : "(/,/,1X,'There are no 3-signal intermodulation ','combinations for this data file.')");
            return;
        }
        const ImodRecords records = readImodList(listPath, N, kRoutine);
        report_.write(two ? "(/,1X,'Results of check for 2-signal intermodulation ','interference')"
                          : "(/,1X,'Results of check for 3-signal intermodulation ','interference')");
        report_.separator();
        openDebug(two ? "B1_2Sig.dbg" : "B1_3Sig.dbg");

        bool anyMet = false;
        for (const ImodRecord& rec : records) {
            tick();
            if (rec.repeat) continue;
            std::array<double, N> level{}, rejection{};
            for (std::size_t k = 0; k < N; ++k) {
                const int s = rec.slots[k];
                const Station& st = state_.slot(s);
                rejection[k] = AntRej(state_, st.frequencyMHz);
                level[k] = FMLevel(state_, s,
                                   10 * std::log10(st.erpKw) + 24.36 - 20 * std::log10(st.frequencyMHz) - rejection[k],
                                   toSite_[static_cast<std::size_t>(s)].distanceNmi,
                                   toSite_[static_cast<std::size_t>(s)].bearingDeg, site_);
            }
            const bool primary = std::any_of(level.begin(), level.end(), [](double l) { return l > kPrimaryLevelDbm; });
            const bool weak = std::any_of(level.begin(), level.end(), [](double l) { return l < kSecondaryLevelDbm; });
            const bool meets = primary && !weak;
            if (meets) {
                cases_ = plusOne(cases_);
                anyMet = true;
            }
            if (debugging()) writeDebug<N>(level, rejection, anyMet, meets);
            if (meets || state_.options.outputStyle >= 2) {
                report_.write(two ? "(1X,'Two-signal intermod at ',F7.3,' MHz (offset of ',I3,' kHz):')"
                                  : "(1X,'Three-signal intermod at ',F7.3,' MHz (offset of ',I3,' kHz):')",
                              {rec.productMHz, static_cast<long long>(productOffsetKHz(state_, rec.productMHz))});
                for (std::size_t k = 0; k < N; ++k) {
                    const Station& st = state_.slot(rec.slots[k]);
                    std::string line = editLines("(3X,'Station ',I4,' (',A,', ',F7.3,')')",
                                                 {static_cast<long long>(st.ordinal), padded(st.callSign, 7),
                                                  st.frequencyMHz})
                                           .front();
                    if (level[k] > kPrimaryLevelDbm)
                        line += editLines("(1X,'exceeds primary level of -10 dBm by',F5.1,' dB.')",
                                          {level[k] - kPrimaryLevelDbm}).front();
                    else if (level[k] > kSecondaryLevelDbm)
                        line += editLines("(1X,'exceeds secondary level of -30 dBm by',F5.1,' dB.')",
                                          {level[k] - kSecondaryLevelDbm}).front();
                    else
                        line += editLines("(1X,'does not exceed secondary level of -30 dBm.')", {}).front();
                    report_.line(line);
                }
                report_.write(meets ? "(3X,'This meets the criteria for interference.',/)"
                                    : "(3X,'This does not meet the criteria for',' interference.',/)");
            }
        }
        crv::platform::removeFile(listPath);
        closeDebug();
        if (!anyMet) {
            if (debugging()) report_.line("");
            report_.write(two ? "(1X,'No 2-signal intermodulation interference found.',/)"
                              : "(1X,'No 3-signal intermodulation interference found.')");
        }
    }

    template <int N>
    void writeDebug(const std::array<double, N>& level, const std::array<double, N>& rejection, bool some, bool meets) {
        const double d = site_.distanceNmi, az = site_.azimuthDeg, alt = site_.altitudeFt;
        report_.separator();
        if constexpr (N == 2) {
            report_.write("(5X,'DISRX  ',8X,'RAD    ',8X,'RXELEV ',8X,'PDBM(1)',8X,'PDBM(2)',/,"
                          "6X,'B1TH2  ',8X,'PCUT   ',8X,'REJ(1) ',8X,'REJ(2)',/,7X,'SOME2F/FAIL2F')");
            report_.separator();
            report_.write("(1X,5(E14.4,1X))", {d, az, alt, level[0], level[1]});
            report_.write("(2X,4(E14.4,1X))", {kPrimaryLevelDbm, kSecondaryLevelDbm, rejection[0], rejection[1]});
            report_.write("(7X,L1,1X,L1,/)", {some, meets});
            debugLine("(1X,7(E14.4,1X))", {d, az, alt, level[0], level[1], kPrimaryLevelDbm, kSecondaryLevelDbm});
        } else {
            report_.write("(5X,'DISRX  ',8X,'RAD    ',8X,'RXELEV ',8X,'PDBM(1)',8X,'PDBM(2)',/,"
                          "6X,'PDBM(3)',8X,'B1TH3  ',8X,'PCUT   ',8X,'REJ(1) ',8X,'REJ(2)',/,7X,'REJ(3)',/,"
                          "8X,'SOME3F/FAIL3F')");
            report_.separator();
            report_.write("(1X,5(E14.4,1X))", {d, az, alt, level[0], level[1]});
            report_.write("(2X,5(E14.4,1X))",
                          {level[2], kPrimaryLevelDbm, kSecondaryLevelDbm, rejection[0], rejection[1]});
            report_.write("(3X,E14.4)", {rejection[2]});
            report_.write("(8X,L1,1X,L1,/)", {some, meets});
            debugLine("(1X,8(E14.4,1X))",
                      {d, az, alt, level[0], level[1], level[2], kPrimaryLevelDbm, kSecondaryLevelDbm});
        }
    }

    const EngineState& state_;
    Progress& progress_;
    std::int16_t& cases_;
    ReportFile report_;
    std::optional<crv::platform::TextWriter> debug_;
    std::string list2Path_, list3Path_;
    ReceiverPoint site_;
    std::vector<DistBearing> toSite_;
    std::vector<double> inBand_, outOfBand_;
    double counter_ = 0, total_ = 1;
    bool done_ = false;
};

}  // namespace

void runGrndCOM(const char* runFolder, Progress& progress, std::int16_t& cases) {
    EngineState& state = sharedState();
    ReadData(state, argumentText(runFolder, 260, kRoutine, "run folder"));
    // Results a killed run left half-written under temporary names go first.
    crv::platform::removeStrayTemporaries(state.paths.runFolder);
    GroundCom(state, progress, cases).run();
}

}  // namespace crv::engine
