#include "pattern_files.h"

#include "crv/formats/site_files.h"
#include "failure.h"
#include "file_units.h"

namespace crv::engine {

namespace {

crv::formats::PatternFileKind formatKind(PatternKind kind) {
    switch (kind) {
        case PatternKind::Localizer: return crv::formats::PatternFileKind::Localizer;
        case PatternKind::FmHorizontal: return crv::formats::PatternFileKind::FmHorizontal;
        case PatternKind::FmVertical: return crv::formats::PatternFileKind::FmVertical;
    }
    return crv::formats::PatternFileKind::FmHorizontal;
}

}  // namespace

double readPatternFile(const std::string& path, PatternKind kind, Pattern& pattern, std::string_view routine) {
    FileUnit unit(routine);
    auto read = crv::formats::readPatternFile(path, formatKind(kind));
    if (!read) fail(routine, read.error());
    pattern.values = read->values;
    pattern.description = read->description;
    pattern.loaded = true;
    return read->gainDb;
}

void readAntennaCalibration(const std::string& path, std::vector<std::pair<double, double>>& table,
                            std::string_view routine) {
    FileUnit unit(routine);
    auto read = crv::formats::readAntennaCalibration(path);
    if (!read) fail(routine, read.error());
    table = std::move(*read);
}

void readReceiverCalibration(const std::string& path, std::array<double, 12>& table, std::string_view routine) {
    FileUnit unit(routine);
    auto read = crv::formats::readReceiverCalibration(path);
    if (!read) fail(routine, read.error());
    table = *read;
}

}  // namespace crv::engine
