// Finished cases of the sample workspace, in the current case-file layout:
// version line, navaid line with the checked mark, RF-source lines, " $$$$",
// options line, case line and the option-text lines.
#include <cmath>

#include "case_lines.h"
#include "sample_common.h"

namespace crv::sample {

namespace {

Source fromDatabase(const std::string& call, int element = 0, int pattern = 0, int rotation = 0, int status = 0) {
    for (const auto& d : designedStations())
        if (d.callSign == call)
            return {d.callSign + "   ", d.frequencyMHz, d.latitude, d.longitude, d.erpKw,
                    static_cast<int>(std::lround(d.heightM * 3.28084)), element, pattern, rotation, status, "LIC"};
    return {};
}

Source proposed(const DesignedFacility& f, const std::string& call, double mhz, double nmi, double bearing,
                double erp, int elevationFt) {
    double lat = 0, lon = 0;
    offset(f.latitude, f.longitude, nmi, bearing, lat, lon);
    return {call, mhz, lat, lon, erp, elevationFt, 13, 0, 0, 1, "APP"};
}

}  // namespace

bool writeCases(const std::string& folder) {
    const auto& ils = sampleIls();
    // Localizer with the user's horizontal pattern (array type 38, "LocHor.pat").
    const NavaidLine ilsLine{ils.identifier, 275, ils.frequencyMHz, ils.latitude, ils.longitude, 420, 9000, 15, 38,
                             0, 0, 0};
    const std::vector<Source> ilsSources{
        fromDatabase("QKAA", 13, 1, 30),  // directional: "FmHor01.pat"
        fromDatabase("QKAB", 58),         // user vertical pattern "FmVrt1.pat"
        fromDatabase("QKAC", 0, 0, 0, 1),
        fromDatabase("QKAD", 7),
        fromDatabase("QKAF", 0, 0, 0, 2),  // ignored by the run
        fromDatabase("QKAG", 25, 2, 0),
        proposed(ils, "QNEW   ", 107.9, 3.0, 95.0, 6.0, 1450),
    };
    const Options ilsOptions{1, 1, 4, 4, 4, 1, 1000, 0, 2000, 500};
    const auto ilsCase = caseFile(ilsLine, ilsSources, ilsOptions, "QKV LOC 27", "QUENFIELD INTL, ZB", {
        "User-Specified Horizontal Radiation Pattern", "ILS, U.S. Standard", "Horizontal Only, Bottom of FPSV",
        "3rd Order Within 200 kHz", "ICAO 1998 Model", "ICAO 1998 Receiver", "ICAO 1998 Cutoff",
        "Print Short Summaries"});

    const auto& vor = sampleVor();
    const NavaidLine vorLine{vor.identifier, 0, vor.frequencyMHz, vor.latitude, vor.longitude, 1210, 0, 100, 36, 6,
                             0, 0};
    const std::vector<Source> vorSources{
        fromDatabase("QVAA", 19, 0, 0, 1), fromDatabase("QVAB", 13, 3, 45), fromDatabase("QVAC"),
        proposed(vor, "QVNW   ", 107.5, 2.5, 10.0, 3.0, 1600),
    };
    const Options vorOptions{1, 2, 1, 1, 1, 2, 1000, 0, 3000, 500};
    const auto vorCase = caseFile(vorLine, vorSources, vorOptions, "QVT VOR", "TESSALY VORTAC, ZA", {
        "VOR, Generic", "VOR, Low Altitude", "Horizontal Only, Bottom of FPSV", "3rd Order On-Channel Only",
        "QVA Antenna Regression Curve", "QVA Empirical Regression", "QVA Empirical Cutoff",
        "Print Extended Summaries"});

    const auto& com = sampleCom();
    const NavaidLine comLine{com.identifier, 0, com.frequencyMHz, com.latitude, com.longitude, 310, 0, 50, 37, 8,
                             50, 10000};
    const std::vector<Source> comSources{
        fromDatabase("QDAA", 1, 0, 0, 1), fromDatabase("QDAB", 1), fromDatabase("QDAC", 13), fromDatabase("QDAD", 1),
        fromDatabase("QDAE", 0, 0, 0, 2),
        proposed(com, "QDNW   ", 106.1 + 0.2, 4.0, 150.0, 10.0, 1300),
    };
    // The vertical increment fills its 3 columns at most (grid type 1 does not use it).
    const Options comOptions{1, 1, 2, 2, 2, 1, 1000, 0, 3000, 500};
    const auto comCase = caseFile(comLine, comSources, comOptions, "DW0 COM", "CEDARVALE RCO, ZC", {
        "VHF COM, Generic", "VHF COM", "Horizontal Only, Bottom of FPSV", "3rd Order Within 200 kHz",
        "4417.09 VHF COM", "4417.09 VHF COM", "4417.09 VHF COM", "Print Short Summaries"});

    return writeLines(folder + "SampleILS.dat", ilsCase) && writeLines(folder + "SampleVOR.dat", vorCase) &&
           writeLines(folder + "SampleCOM.dat", comCase);
}

}  // namespace crv::sample
