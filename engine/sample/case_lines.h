#pragma once
// Lines of a case data file in the current layout, shared by the sample
// workspace and the benchmark's stress case: version line, navaid line with
// the checked mark, RF-source lines, " $$$$", options line, case line and the
// option-text lines.
#include <string>
#include <vector>

namespace crv::sample {

struct NavaidLine {
    std::string ident;
    int headingDeg;
    double mhz;
    double lat, lon;
    int elevationFt, runwayFt, power, arrayType, svType, radiusNmi, heightFt;
};

struct Source {
    std::string call;
    double mhz;
    double lat, lon;
    double erpKw;
    int elevationFt, element, pattern, rotation, status;
    std::string licence;
};

struct Options {
    int grid, intermod, rejection, criteria, cutoff, style, altitudeFt, angleDeg, horIncFt, vrtIncFt;
};

std::string navaidLine(const NavaidLine& n);
std::string sourceLine(const Source& s);
std::string optionsLine(const Options& o);
std::string caseLine(const std::string& name, const std::string& site, int radiusNmi);
std::vector<std::string> caseFile(const NavaidLine& nav, const std::vector<Source>& sources, const Options& o,
                                  const std::string& name, const std::string& site,
                                  const std::vector<std::string>& texts);

}  // namespace crv::sample
