// Finished cases of the sample workspace, in the current case-file layout:
// version line, navaid line with the checked mark, RF-source lines, " $$$$",
// options line, case line and the option-text lines.
#include <cmath>

#include "sample_common.h"

namespace crv::sample {

namespace {

std::string field(std::string text, std::size_t width) {
    text.resize(width, ' ');
    return text;
}

struct NavaidLine {
    std::string ident;
    int headingDeg;
    double mhz;
    double lat, lon;
    int elevationFt, runwayFt, power, arrayType, svType, radiusNmi, heightFt;
};

std::string navaidLine(const NavaidLine& n) {
    return " " + field(n.ident, 3) + " " + num(n.headingDeg, 3) + " " + fixed(n.mhz, 7, 3) + " " +
           caseLatitude(toDms(n.lat)) + " " + caseLongitude(toDms(n.lon)) + " " + num(n.elevationFt, 5) + " " +
           num(n.runwayFt, 5) + " " + num(n.power, 3) + " " + num(n.arrayType, 2) + " " + num(n.svType, 2) + " " +
           num(n.radiusNmi, 3) + " " + num(n.heightFt, 5) + " \x7f";
}

struct Source {
    std::string call;
    double mhz;
    double lat, lon;
    double erpKw;
    int elevationFt, element, pattern, rotation, status;
    std::string licence;
};

std::string sourceLine(const Source& s) {
    return " " + field(s.call, 7) + " " + fixed(s.mhz, 7, 3) + " " + caseLatitude(toDms(s.lat)) + " " +
           caseLongitude(toDms(s.lon)) + " " + fixed(s.erpKw, 8, 4) + " " + num(s.elevationFt, 5) + " " +
           num(s.element, 2) + " " + num(s.pattern, 2) + " " + num(s.rotation, 3) + " " + num(s.status, 2) + " " +
           field(s.licence, 3) + " " + num(0, 5);
}

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

struct Options {
    int grid, intermod, rejection, criteria, cutoff, style, altitudeFt, angleDeg, horIncFt, vrtIncFt;
};

std::string optionsLine(const Options& o) {
    return " " + num(o.grid, 2) + " " + num(o.intermod, 2) + " " + num(o.rejection, 2) + " " + num(o.criteria, 2) +
           " " + num(o.cutoff, 2) + " " + num(o.style, 2) + " " + num(o.altitudeFt, 5) + " " + num(o.angleDeg, 3) +
           " " + num(o.horIncFt, 4) + " " + num(o.vrtIncFt, 3) + " " + num(0, 2) + " " + num(0, 2);
}

std::string caseLine(const std::string& name, const std::string& site, int radiusNmi) {
    return " " + field(name, 15) + " " + field(site, 25) + " " + "03/14/24" + " " + num(radiusNmi, 2);
}

std::vector<std::string> caseFile(const NavaidLine& nav, const std::vector<Source>& sources, const Options& o,
                                  const std::string& name, const std::string& site,
                                  const std::vector<std::string>& texts) {
    std::vector<std::string> lines{"CRV Version 5.0.6", navaidLine(nav)};
    for (const auto& s : sources) lines.push_back(sourceLine(s));
    lines.push_back(" $$$$");
    lines.push_back(optionsLine(o));
    lines.push_back(caseLine(name, site, 30));
    for (const auto& t : texts) lines.push_back(" " + t);
    return lines;
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
        fromDatabase("QKAC"),
        fromDatabase("QKAD", 7),
        fromDatabase("QKAF", 0, 0, 0, 2),  // ignored by the run
        fromDatabase("QKAG", 25, 2, 0),
        proposed(ils, "QNEW   ", 107.9, 3.0, 95.0, 6.0, 1450),
    };
    const Options ilsOptions{1, 1, 1, 1, 1, 1, 1000, 0, 2000, 500};
    const auto ilsCase = caseFile(ilsLine, ilsSources, ilsOptions, "QKV LOC 27", "QUENFIELD INTL, ZB", {
        "User-Specified Horizontal Radiation Pattern", "ILS, U.S. Standard", "Horizontal Only, Bottom of FPSV",
        "3rd Order Within 200 kHz", "QVA Antenna Regression Curve", "QVA Empirical Regression",
        "QVA Empirical Cutoff", "Print Short Summaries"});

    const auto& vor = sampleVor();
    const NavaidLine vorLine{vor.identifier, 0, vor.frequencyMHz, vor.latitude, vor.longitude, 1210, 0, 100, 36, 6,
                             0, 0};
    const std::vector<Source> vorSources{
        fromDatabase("QVAA", 19), fromDatabase("QVAB", 13, 3, 45), fromDatabase("QVAC"),
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
        fromDatabase("QDAA", 31), fromDatabase("QDAB"), fromDatabase("QDAC", 13), fromDatabase("QDAD", 0, 0, 0, 2),
        proposed(com, "QDNW   ", 106.1 + 0.2, 4.0, 150.0, 10.0, 1300),
    };
    const Options comOptions{1, 1, 2, 2, 2, 1, 1000, 0, 3000, 1000};
    const auto comCase = caseFile(comLine, comSources, comOptions, "DW0 COM", "CEDARVALE RCO, ZC", {
        "VHF COM, Generic", "VHF COM", "Horizontal Only, Bottom of FPSV", "3rd Order Within 200 kHz",
        "4417.09 VHF COM", "4417.09 VHF COM", "4417.09 VHF COM", "Print Short Summaries"});

    return writeLines(folder + "SampleILS.dat", ilsCase) && writeLines(folder + "SampleVOR.dat", vorCase) &&
           writeLines(folder + "SampleCOM.dat", comCase);
}

}  // namespace crv::sample
