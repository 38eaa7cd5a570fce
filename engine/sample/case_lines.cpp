#include "case_lines.h"

#include "sample_common.h"

namespace crv::sample {

namespace {

std::string field(std::string text, std::size_t width) {
    text.resize(width, ' ');
    return text;
}

}  // namespace

std::string navaidLine(const NavaidLine& n) {
    return " " + field(n.ident, 3) + " " + num(n.headingDeg, 3) + " " + fixed(n.mhz, 7, 3) + " " +
           caseLatitude(toDms(n.lat)) + " " + caseLongitude(toDms(n.lon)) + " " + num(n.elevationFt, 5) + " " +
           num(n.runwayFt, 5) + " " + num(n.power, 3) + " " + num(n.arrayType, 2) + " " + num(n.svType, 2) + " " +
           num(n.radiusNmi, 3) + " " + num(n.heightFt, 5) + " \x7f";
}

std::string sourceLine(const Source& s) {
    return " " + field(s.call, 7) + " " + fixed(s.mhz, 7, 3) + " " + caseLatitude(toDms(s.lat)) + " " +
           caseLongitude(toDms(s.lon)) + " " + fixed(s.erpKw, 8, 4) + " " + num(s.elevationFt, 5) + " " +
           num(s.element, 2) + " " + num(s.pattern, 2) + " " + num(s.rotation, 3) + " " + num(s.status, 2) + " " +
           field(s.licence, 3) + " " + num(0, 5);
}

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

}  // namespace crv::sample
