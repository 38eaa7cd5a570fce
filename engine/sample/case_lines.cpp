#include "case_lines.h"

#include <stdexcept>

#include "sample_common.h"

namespace crv::sample {

namespace {

std::string field(std::string text, std::size_t width) {
    text.resize(width, ' ');
    return text;
}

// The case reader takes each field from its own columns: a value wider than
// its field would run into the next one, so it is a mistake in the sample,
// never something to write.
std::string fit(std::string text, int width) {
    if (static_cast<int>(text.size()) > width)
        throw std::length_error("case field \"" + text + "\" is wider than its " + std::to_string(width) + " columns");
    return text;
}

std::string col(long long value, int width) { return fit(num(value, width), width); }
std::string col(double value, int width, int decimals) { return fit(fixed(value, width, decimals), width); }

}  // namespace

std::string navaidLine(const NavaidLine& n) {
    return " " + field(n.ident, 3) + " " + col(n.headingDeg, 3) + " " + col(n.mhz, 7, 3) + " " +
           caseLatitude(toDms(n.lat)) + " " + caseLongitude(toDms(n.lon)) + " " + col(n.elevationFt, 5) + " " +
           col(n.runwayFt, 5) + " " + col(n.power, 3) + " " + col(n.arrayType, 2) + " " + col(n.svType, 2) + " " +
           col(n.radiusNmi, 3) + " " + col(n.heightFt, 5) + " \x7f";
}

std::string sourceLine(const Source& s) {
    return " " + field(s.call, 7) + " " + col(s.mhz, 7, 3) + " " + caseLatitude(toDms(s.lat)) + " " +
           caseLongitude(toDms(s.lon)) + " " + col(s.erpKw, 8, 4) + " " + col(s.elevationFt, 5) + " " +
           col(s.element, 2) + " " + col(s.pattern, 2) + " " + col(s.rotation, 3) + " " + col(s.status, 2) + " " +
           field(s.licence, 3) + " " + col(0, 5);
}

std::string optionsLine(const Options& o) {
    return " " + col(o.grid, 2) + " " + col(o.intermod, 2) + " " + col(o.rejection, 2) + " " + col(o.criteria, 2) +
           " " + col(o.cutoff, 2) + " " + col(o.style, 2) + " " + col(o.altitudeFt, 5) + " " + col(o.angleDeg, 3) +
           " " + col(o.horIncFt, 4) + " " + col(o.vrtIncFt, 3) + " " + col(0, 2) + " " + col(0, 2);
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
