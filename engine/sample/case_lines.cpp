#include "case_lines.h"

#include <stdexcept>

#include "crv/formats/case_file.h"
#include "sample_common.h"

namespace crv::sample {

namespace {

namespace formats = crv::formats;

// The case reader takes each field from its own columns: a value wider than
// its field would run into the next one, so it is a mistake in the sample,
// never something to write.
std::string checked(std::string line, const std::string& cut) {
    if (!cut.empty()) throw std::length_error("case field \"" + cut + "\" is wider than its columns");
    return line;
}

formats::DmsField dmsOf(double degrees) {
    const Dms d = toDms(degrees);
    return {d.degrees, d.minutes, d.seconds, d.negative};
}

}  // namespace

std::string navaidLine(const NavaidLine& n) {
    std::string cut;
    std::string line = formats::writeNavaidLine({n.ident, double(n.headingDeg), n.mhz, dmsOf(n.lat), dmsOf(n.lon),
                                                 double(n.elevationFt), double(n.runwayFt), double(n.power),
                                                 n.arrayType, n.svType, double(n.radiusNmi), double(n.heightFt)},
                                                true, &cut);
    return checked(std::move(line), cut);
}

std::string sourceLine(const Source& s) {
    std::string cut;
    std::string line = formats::writeRfSourceLine({s.call, s.mhz, dmsOf(s.lat), dmsOf(s.lon), s.erpKw,
                                                   double(s.elevationFt), s.element, s.pattern, double(s.rotation),
                                                   s.status, s.licence, 0},
                                                  &cut);
    return checked(std::move(line), cut);
}

std::string optionsLine(const Options& o) {
    std::string cut;
    std::string line = formats::writeOptionsLine({o.grid, o.intermod, o.rejection, o.criteria, o.cutoff, o.style,
                                                  double(o.altitudeFt), double(o.angleDeg), double(o.horIncFt),
                                                  double(o.vrtIncFt), 0, 0},
                                                 &cut);
    return checked(std::move(line), cut);
}

std::string caseLine(const std::string& name, const std::string& site, int radiusNmi) {
    std::string cut;
    std::string line = formats::writeCaseLine({name, site, "03/14/24", double(radiusNmi)}, &cut);
    return checked(std::move(line), cut);
}

std::vector<std::string> caseFile(const NavaidLine& nav, const std::vector<Source>& sources, const Options& o,
                                  const std::string& name, const std::string& site,
                                  const std::vector<std::string>& texts) {
    std::vector<std::string> lines{formats::kVersionText, navaidLine(nav)};
    for (const auto& s : sources) lines.push_back(sourceLine(s));
    lines.push_back(formats::kRfSourceTerminator);
    lines.push_back(optionsLine(o));
    lines.push_back(caseLine(name, site, 30));
    for (const auto& t : texts) lines.push_back(formats::optionTextLine(t));
    return lines;
}

}  // namespace crv::sample
