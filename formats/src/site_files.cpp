#include "crv/formats/site_files.h"

#include <cmath>
#include <optional>

#include "crv/platform/numbers.h"
#include "crv/platform/text_file.h"

namespace crv::formats {

namespace {

using crv::platform::Error;
using crv::platform::LineReader;
using crv::platform::makeError;

// A pattern or calibration line is a description or a few numbers; a point
// line a handful of numbers.
constexpr std::size_t kMaxLine = 256;
constexpr std::size_t kMaxPointLine = 512;

const char* kindName(PatternFileKind kind) {
    switch (kind) {
        case PatternFileKind::Localizer: return "localizer pattern file";
        case PatternFileKind::FmHorizontal: return "FM horizontal pattern file";
        case PatternFileKind::FmVertical: return "FM vertical pattern file";
    }
    return "pattern file";
}

// A failure of one read: the message the run shows.
struct Refusal {
    std::string message;
};

// The lines of one file, each refused read said as the run says it.
class SiteReader {
public:
    SiteReader(const std::string& path, std::string what, std::size_t maxLine) : path_(path), what_(std::move(what)) {
        in_.setMaxLineLength(maxLine);
        opened_ = static_cast<bool>(in_.open(path));
    }
    bool opened() const { return opened_; }
    // The next line; false at the end. A read error or an over-long line is
    // not the end of the file.
    bool next(std::string& line) {
        if (in_.next(line)) return true;
        if (in_.failed()) throw Refusal{"Could not read " + what_ + " (" + in_.reason() + "):\r" + path_};
        return false;
    }
    long lineNumber() const { return in_.lineNumber(); }
    [[noreturn]] void endsEarly(const std::string& detail) const {
        throw Refusal{"The " + what_ + " ends early (" + detail + "):\r" + path_};
    }
    [[noreturn]] void refuse(const std::string& text) const { throw Refusal{text + ":\r" + path_}; }
    // Free-format numbers of one line; refuses anything that is not a number.
    std::vector<double> numbers(std::string_view line) const {
        std::vector<double> out;
        for (auto field : crv::platform::splitFreeFormat(line)) {
            auto v = crv::platform::parseReal(field);
            if (!v || !std::isfinite(*v))
                refuse("Could not read the number \"" + std::string(field.substr(0, 20)) + "\" in line " +
                       std::to_string(lineNumber()) + " of " + what_);
            out.push_back(*v);
        }
        return out;
    }
    const std::string& what() const { return what_; }

private:
    LineReader in_;
    std::string path_;
    std::string what_;
    bool opened_ = false;
};

bool isBlank(std::string_view line) { return crv::platform::trimBlanks(line).empty(); }

std::string trimRight(std::string_view text) {
    while (!text.empty() && (text.back() == ' ' || text.back() == '\0')) text.remove_suffix(1);
    return std::string(text);
}

// Runs a reader, turning its refusal into the error it returns.
template <class T, class Read>
crv::platform::Expected<T> refusedAs(Read read) {
    try {
        return read();
    } catch (const Refusal& r) {
        return makeError(r.message);
    }
}

// Degrees with minutes (and seconds) adding to the magnitude, signed by the
// degrees, exactly as the case file's positions are read (DMS2Deg); "-0"
// marks a position less than a degree south or east.
double signedDegrees(std::string_view degreesText, double degrees, double minutes, double seconds) {
    const bool negative = degrees < 0 || crv::platform::trimBlanks(degreesText).starts_with('-');
    const double magnitude = std::fabs(degrees) + std::fabs(minutes / 60.0 + seconds / 3600.0);
    return negative ? -magnitude : magnitude;
}

}  // namespace

std::string patternListDescription(std::string_view firstLine) {
    std::string line(firstLine);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    line = std::string(crv::platform::trimBlanks(line));
    std::string item;
    if (!line.empty() && line.front() == '"') {
        const std::size_t close = line.find('"', 1);
        item = line.substr(1, close == std::string::npos ? std::string::npos : close - 1);
    } else {
        item = std::string(crv::platform::trimBlanks(std::string_view(line).substr(0, line.find(','))));
    }
    for (char& c : item)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = ' ';
    return item;
}

crv::platform::Expected<PatternFileValues> readPatternFile(const std::string& path, PatternFileKind kind) {
    return refusedAs<PatternFileValues>([&] {
        SiteReader in(path, kindName(kind), kMaxLine);
        if (!in.opened()) {
            const char* message = kind == PatternFileKind::Localizer      ? "Could not open localizer pattern file:"
                                  : kind == PatternFileKind::FmHorizontal ? "Could not open FM horizontal pattern file:"
                                                                          : "Could not open FM vertical pattern file:";
            throw Refusal{std::string(message) + "\r" + path};
        }
        PatternFileValues read;
        std::string line;
        if (!in.next(line)) in.endsEarly("no description line");
        read.description = trimRight(textAt(line, kSiteDescription));

        if (!in.next(line)) in.endsEarly("no kind and scale line");
        const auto head = in.numbers(line);
        const bool localizer = kind == PatternFileKind::Localizer;
        if (head.size() < (localizer ? 3u : 2u))
            in.refuse("Line 2 of the " + in.what() + " needs the kind, the scale" +
                      (localizer ? std::string(" and the gain") : std::string()));
        // The kind is not checked; scale 1 means dB, anything else percent.
        const bool decibels = head[1] == 1.0;
        read.gainDb = localizer ? head[2] : 0.0;

        for (std::size_t k = 0; k < kPatternPoints; ++k) {
            if (!in.next(line)) in.endsEarly("fewer than 37 points");
            const auto point = in.numbers(line);
            if (point.size() < 2)
                in.refuse("Line " + std::to_string(in.lineNumber()) + " of the " + in.what() +
                          " needs an angle and a value");
            // The angle is implied by the line's position; only the value counts.
            read.values[k] = decibels ? std::pow(10.0, point[1] / 20.0) : point[1] / 100.0;
            // A decibel value of a few hundred already overflows the ratio.
            if (!std::isfinite(read.values[k]))
                in.refuse("The value \"" + std::string(crv::platform::splitFreeFormat(line)[1].substr(0, 20)) +
                          "\" in line " + std::to_string(in.lineNumber()) + " of " + in.what() + " is out of range");
        }
        return read;
    });
}

crv::platform::Expected<std::vector<std::pair<double, double>>> readAntennaCalibration(const std::string& path) {
    return refusedAs<std::vector<std::pair<double, double>>>([&] {
        SiteReader in(path, "calibration file", kMaxLine);
        if (!in.opened()) throw Refusal{"Could not open calibration file:\r" + path};
        std::string line;
        if (!in.next(line) || !in.next(line)) in.endsEarly("no heading lines");
        std::vector<std::pair<double, double>> read;
        while (read.size() < kMaxAntennaCalibrationPairs && in.next(line)) {
            if (isBlank(line)) continue;  // an empty line left at the end by an editor
            const auto pair = in.numbers(line);
            if (pair.size() < 2)
                in.refuse("Line " + std::to_string(in.lineNumber()) +
                          " of the calibration file needs a frequency and a value");
            read.emplace_back(pair[0], pair[1]);
        }
        return read;
    });
}

crv::platform::Expected<std::array<double, 12>> readReceiverCalibration(const std::string& path) {
    return refusedAs<std::array<double, 12>>([&] {
        SiteReader in(path, "calibration file", kMaxLine);
        if (!in.opened()) throw Refusal{"Could not open calibration file:\r" + path};
        std::string line;
        if (!in.next(line) || !in.next(line)) in.endsEarly("no heading lines");
        std::array<double, 12> read{};
        for (std::size_t k = 1; k <= kReceiverCalibrationLevels; ++k) {
            if (!in.next(line)) in.endsEarly("fewer than 11 receiver levels");
            const auto values = in.numbers(line);
            if (values.empty())
                in.refuse("Line " + std::to_string(in.lineNumber()) + " of the calibration file holds no number");
            read[k] = values.size() >= 2 ? values[1] : values[0];
        }
        return read;
    });
}

crv::platform::Expected<std::vector<TestPoint>> readTestPoints(const std::string& path, std::size_t maxPoints) {
    return refusedAs<std::vector<TestPoint>>([&] {
        const std::string what = "user-defined receiver points file";
        SiteReader in(path, what, kMaxPointLine);
        if (!in.opened()) throw Refusal{"Could not open " + what + ":\r" + path};
        auto badLine = [&](long line) { in.refuse("Could not read line " + std::to_string(line) + " of " + what); };
        auto outOfRange = [&](long line, const char* value, std::string_view text) {
            in.refuse(std::string("The ") + value + " \"" + std::string(text.substr(0, 24)) + "\" in line " +
                      std::to_string(line) + " of " + what + " is out of range");
        };
        std::vector<TestPoint> points;
        std::string line;
        if (!in.next(line) || !in.next(line)) return points;
        const auto codeFields = crv::platform::splitFreeFormat(line);
        const auto code = codeFields.empty() ? std::nullopt : crv::platform::parseInteger(codeFields[0]);
        if (!code || *code < 0 || *code > 3) in.refuse("Invalid position format code in " + what);
        const int format = static_cast<int>(*code);
        const std::size_t needed = format == 0 ? 3 : format == 1 ? 7 : format == 2 ? 3 : 5;
        while (in.next(line)) {
            const long lineNumber = in.lineNumber();
            const auto fields = crv::platform::splitFreeFormat(line);
            if (fields.empty()) continue;
            if (fields.size() < needed) badLine(lineNumber);
            std::vector<double> v;
            for (std::size_t k = 0; k < needed; ++k) {
                std::optional<double> x;
                if (format == 1 && k < 6) {
                    if (auto n = crv::platform::parseInteger(fields[k])) x = static_cast<double>(*n);
                } else {
                    x = crv::platform::parseReal(fields[k]);
                }
                if (!x) badLine(lineNumber);
                if (!std::isfinite(*x)) outOfRange(lineNumber, "number", fields[k]);
                v.push_back(*x);
            }
            TestPoint p;
            p.format = format;
            p.altitudeFt = v[needed - 1];
            if (std::fabs(p.altitudeFt) > kMaxTestPointAltitudeFt) outOfRange(lineNumber, "altitude", fields[needed - 1]);
            if (format == 0) {
                p.first = v[0];
                p.second = v[1];
                if (std::fabs(p.first) > kMaxTestPointRangeNmi) outOfRange(lineNumber, "range", fields[0]);
                if (std::fabs(p.second) > kMaxTestPointBearingDeg) outOfRange(lineNumber, "bearing", fields[1]);
            } else {
                if (format == 1) {
                    p.first = signedDegrees(fields[0], v[0], v[1], v[2]);
                    p.second = signedDegrees(fields[3], v[3], v[4], v[5]);
                } else if (format == 2) {
                    p.first = v[0];
                    p.second = v[1];
                } else {
                    p.first = signedDegrees(fields[0], v[0], v[1], 0);
                    p.second = signedDegrees(fields[2], v[2], v[3], 0);
                }
                if (!(std::fabs(p.first) <= 90.0)) outOfRange(lineNumber, "latitude", fields[0]);
                const std::size_t lonField = format == 1 ? 3 : format == 2 ? 1 : 2;
                if (!(std::fabs(p.second) <= 180.0)) outOfRange(lineNumber, "longitude", fields[lonField]);
            }
            // The grid's own limit: a file of millions of lines is not a set of
            // test points, and would fill the memory and the disk.
            if (points.size() >= maxPoints)
                in.refuse("The " + what + " holds more than " + std::to_string(maxPoints) + " points");
            points.push_back(p);
        }
        return points;
    });
}

}  // namespace crv::formats
