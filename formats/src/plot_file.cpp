#include "crv/formats/plot_file.h"

#include <bit>
#include <cmath>
#include <cerrno>
#include <cstring>
#include <sys/stat.h>

#include "crv/platform/numbers.h"
#include "crv/platform/text_file.h"

namespace crv::formats {

namespace {

void putU32(std::string& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xff));
}
void putI16(std::string& out, std::int16_t v) {
    const auto u = static_cast<std::uint16_t>(v);
    out.push_back(static_cast<char>(u & 0xff));
    out.push_back(static_cast<char>(u >> 8));
}
void putF32(std::string& out, float v) { putU32(out, std::bit_cast<std::uint32_t>(v)); }
void putText(std::string& out, std::string_view text, std::size_t width) {
    std::string field(text.substr(0, width));
    field.resize(width, ' ');
    out += field;
}

std::uint32_t getU32(std::string_view in, std::size_t at) {
    std::uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v |= static_cast<std::uint32_t>(static_cast<unsigned char>(in[at + i])) << (8 * i);
    return v;
}
std::int16_t getI16(std::string_view in, std::size_t at) {
    const auto u = static_cast<std::uint16_t>(static_cast<unsigned char>(in[at]) |
                                              (static_cast<unsigned char>(in[at + 1]) << 8));
    return static_cast<std::int16_t>(u);
}
float getF32(std::string_view in, std::size_t at) { return std::bit_cast<float>(getU32(in, at)); }

std::string trimmed(std::string_view s) {
    while (!s.empty() && (s.back() == ' ' || s.back() == '\0')) s.remove_suffix(1);
    return std::string(s);
}

}  // namespace

std::int16_t saturate16(double value) {
    if (std::isnan(value)) return 0;
    const double r = std::round(value);  // halves away from zero
    if (r > 32767.0) return 32767;
    if (r < -32767.0) return -32767;
    return static_cast<std::int16_t>(r);
}

InterferencePoint makeInterferencePoint(double levelDb, double distanceNmi, double azimuthDeg, double altitudeFt,
                                        float extra) {
    double az = azimuthDeg;
    if (std::isfinite(az)) {
        az = std::fmod(az + 180.0, 360.0);
        if (az < 0) az += 360.0;
        az -= 180.0;
    }
    return {saturate16(levelDb), saturate16(distanceNmi * 100.0), saturate16(az * 100.0), saturate16(altitudeFt),
            extra};
}

InterferencePoint sectionEndPoint() { return {kSectionEnd, 0, 0, 0, 0.0f}; }

std::string encodeHeaderRecord(const PlotHeader& h, int index) {
    std::string r;
    switch (index) {
        case 1: putText(r, h.version, 20); break;
        case 2: putText(r, h.airspaceCase, 15); break;
        case 3: putText(r, h.site, 25); break;
        case 4: putText(r, h.date, 8); break;
        case 5: putText(r, h.fileName, 12); break;
        case 6: putText(r, h.title1, 80); break;
        case 7: putText(r, h.title2, 80); break;
        case 8: putF32(r, h.headingDeg); break;
        case 9: putF32(r, h.frequencyMHz); break;
        case 10: putF32(r, h.fieldElevationFt); break;
        case 11: putF32(r, h.runwayLengthFt); break;
        case 12: putI16(r, h.serviceVolumeType); break;
        case 13: putText(r, h.navaidId, 3); break;
        case 14: putF32(r, h.serviceVolumeRadiusNmi); break;
        case 15: putF32(r, h.serviceVolumeHeightFt); break;
        case 16: putI16(r, h.gridType); break;
        case 17: putF32(r, h.gridAltitudeFt); break;
        case 18: putF32(r, h.gridAngleDeg); break;
        default: break;
    }
    return r;
}

namespace {
// A point's 26 bytes of data, appended.
void putReceiverPoint(std::string& out, const ReceiverPoint& p) {
    putI16(out, p.id);
    putF32(out, p.distanceNmi);
    putF32(out, p.azimuthDeg);
    putF32(out, p.altitudeFt);
    putF32(out, p.latitude);
    putF32(out, p.longitude);
    putF32(out, p.levelDbm);
}
}  // namespace

std::string encodeReceiverPoint(const ReceiverPoint& p) {
    std::string r;
    putReceiverPoint(r, p);
    return r;
}

void appendReceiverPointRecord(std::string& out, const ReceiverPoint& p) {
    constexpr std::uint32_t kLength = 26;
    putU32(out, kLength);
    putReceiverPoint(out, p);
    putU32(out, kLength);
}

std::string encodeVerticalSectionEnd(float planeAzimuthDeg) {
    std::string r;
    putI16(r, kSectionEnd);
    const float values[7] = {0, 0, planeAzimuthDeg, 0, 0, 0, 0};
    for (float v : values) putF32(r, v);
    return r;
}

std::string encodeInterferencePoint(const InterferencePoint& p) {
    std::string r;
    putI16(r, p.levelDb);
    putI16(r, p.distance100);
    putI16(r, p.azimuth100);
    putI16(r, p.altitudeFt);
    putF32(r, p.extra);
    return r;
}

RecordWriter::~RecordWriter() = default;

bool RecordWriter::open(const std::string& path) {
    path_ = path;
    failed_ = false;
    auto opened = file_.open(path, crv::platform::WriteMode::Replace);
    error_ = opened ? std::string() : opened.error();
    return static_cast<bool>(opened);
}

void RecordWriter::writeRecord(std::string_view data) {
    if (!file_.isOpen()) {
        failed_ = true;
        return;
    }
    std::string framed;
    framed.reserve(data.size() + 8);
    putU32(framed, static_cast<std::uint32_t>(data.size()));
    framed += data;
    putU32(framed, static_cast<std::uint32_t>(data.size()));
    if (std::fwrite(framed.data(), 1, framed.size(), file_.get()) != framed.size()) failed_ = true;
}

void RecordWriter::writeFramed(std::string_view records) {
    if (!file_.isOpen()) {
        failed_ = true;
        return;
    }
    if (std::fwrite(records.data(), 1, records.size(), file_.get()) != records.size()) failed_ = true;
}

void RecordWriter::writeHeader(const PlotHeader& header) {
    for (int i = 1; i <= 18; ++i) writeRecord(encodeHeaderRecord(header, i));
}

bool RecordWriter::close() {
    if (!file_.isOpen()) return !failed_;
    if (failed_) {
        file_.abandon();
        return false;
    }
    auto closed = file_.close();
    if (!closed) error_ = closed.error();
    return static_cast<bool>(closed);
}

void RecordWriter::discard() {
    if (file_.isOpen()) {
        file_.discard();
        return;
    }
    if (!path_.empty()) std::remove(path_.c_str());
}

RecordReader::~RecordReader() { close(); }

bool RecordReader::open(const std::string& path) {
    close();
    path_ = path;
    error_.clear();
    // Only a regular file: a FIFO would never answer and a device never end.
    auto opened = crv::platform::openRegularFile(path);
    if (!opened) {
        error_ = opened.error();
        return false;
    }
    file_ = opened->release();
    struct stat st {};
    size_ = ::fstat(fileno(file_), &st) == 0 ? static_cast<long>(st.st_size) : 0;
    pos_ = 0;
    return true;
}

std::optional<std::string> RecordReader::next() {
    if (!file_ || !error_.empty()) return std::nullopt;
    unsigned char marker[4];
    const std::size_t got = std::fread(marker, 1, 4, file_);
    if (got < 4 && std::ferror(file_)) {
        error_ = "Could not read " + path_ + ": " + std::strerror(errno ? errno : EIO);
        return std::nullopt;
    }
    if (got == 0) return std::nullopt;  // clean end
    // The position is counted here: asking the stream costs a system call per record.
    const long at = pos_;
    pos_ += static_cast<long>(got);
    if (got < 4) {
        error_ = path_ + " is damaged: incomplete record length at byte " + std::to_string(at);
        return std::nullopt;
    }
    const std::uint32_t length = getU32(std::string_view(reinterpret_cast<char*>(marker), 4), 0);
    if (static_cast<long long>(length) + 4 > static_cast<long long>(size_) - at - 4) {
        error_ = path_ + " is damaged: a record at byte " + std::to_string(at) + " runs past the end of the file";
        return std::nullopt;
    }
    std::string data(length, '\0');
    pos_ += static_cast<long>(length) + 4;
    if (length && std::fread(data.data(), 1, length, file_) != length) {
        error_ = std::ferror(file_) ? "Could not read " + path_ + ": " + std::strerror(errno ? errno : EIO)
                                    : path_ + " is damaged: short record at byte " + std::to_string(at);
        return std::nullopt;
    }
    unsigned char trailer[4];
    if (std::fread(trailer, 1, 4, file_) != 4 ||
        getU32(std::string_view(reinterpret_cast<char*>(trailer), 4), 0) != length) {
        error_ = path_ + " is damaged: record lengths disagree at byte " + std::to_string(at);
        return std::nullopt;
    }
    return data;
}

void RecordReader::close() {
    if (file_) std::fclose(file_);
    file_ = nullptr;
}

namespace {
// The header from the records `next` gives; `ended` says why there is none
// when `next` gives no record.
template <class Next, class Ended>
std::optional<PlotHeader> headerFrom(Next next, Ended ended, std::string& error) {
    PlotHeader h;
    for (int i = 1; i <= 18; ++i) {
        auto rec = next();
        if (!rec) {
            error = ended(i);
            return std::nullopt;
        }
        const std::string_view d = *rec;
        auto needs = [&](std::size_t n) {
            if (d.size() < n) {
                error = "plot header record " + std::to_string(i) + " is too short";
                return false;
            }
            return true;
        };
        switch (i) {
            case 1: h.version = trimmed(d); break;
            case 2: h.airspaceCase = trimmed(d); break;
            case 3: h.site = trimmed(d); break;
            case 4: h.date = trimmed(d); break;
            case 5: h.fileName = trimmed(d); break;
            case 6: h.title1 = trimmed(d); break;
            case 7: h.title2 = trimmed(d); break;
            case 13: h.navaidId = trimmed(d); break;
            case 12:
            case 16:
                if (!needs(2)) return std::nullopt;
                (i == 12 ? h.serviceVolumeType : h.gridType) = getI16(d, 0);
                break;
            default: {
                if (!needs(4)) return std::nullopt;
                const float v = getF32(d, 0);
                switch (i) {
                    case 8: h.headingDeg = v; break;
                    case 9: h.frequencyMHz = v; break;
                    case 10: h.fieldElevationFt = v; break;
                    case 11: h.runwayLengthFt = v; break;
                    case 14: h.serviceVolumeRadiusNmi = v; break;
                    case 15: h.serviceVolumeHeightFt = v; break;
                    case 17: h.gridAltitudeFt = v; break;
                    case 18: h.gridAngleDeg = v; break;
                    default: break;
                }
            }
        }
    }
    return h;
}
}  // namespace

std::optional<PlotHeader> readPlotHeader(RecordReader& reader, std::string& error) {
    return headerFrom([&] { return reader.next(); },
                      [&](int i) {
                          return reader.damaged() ? reader.error()
                                                  : "the plot header ends early (record " + std::to_string(i) + ")";
                      },
                      error);
}

std::optional<ReceiverPoint> decodeReceiverPoint(std::string_view d) {
    if (d.size() < 26) return std::nullopt;
    ReceiverPoint p;
    p.id = getI16(d, 0);
    p.distanceNmi = getF32(d, 2);
    p.azimuthDeg = getF32(d, 6);
    p.altitudeFt = getF32(d, 10);
    p.latitude = getF32(d, 14);
    p.longitude = getF32(d, 18);
    p.levelDbm = getF32(d, 22);
    return p;
}

std::string receiverPointProblem(const ReceiverPoint& p) {
    auto bad = [](const char* field, float v) {
        return std::string("the ") + field + " " + crv::platform::formatShortest(v) + " is out of range";
    };
    const float values[] = {p.distanceNmi, p.azimuthDeg, p.altitudeFt, p.latitude, p.longitude, p.levelDbm};
    const char* names[] = {"distance", "azimuth", "altitude", "latitude", "longitude", "level"};
    for (int i = 0; i < 6; ++i)
        if (!std::isfinite(values[i])) return bad(names[i], values[i]);
    // A section end carries only the plane's azimuth; its other fields are 0.
    if (p.id == kSectionEnd) return {};
    // Half the earth's circumference at most, a position on the globe, and
    // nothing a 16-bit plot field or an angle routine cannot take.
    if (!(p.distanceNmi >= 0.0f && p.distanceNmi <= 10800.0f)) return bad("distance", p.distanceNmi);
    if (!(std::fabs(p.azimuthDeg) <= 1.0e6f)) return bad("azimuth", p.azimuthDeg);
    if (!(std::fabs(p.altitudeFt) <= 1.0e6f)) return bad("altitude", p.altitudeFt);
    if (!(std::fabs(p.latitude) <= 90.0f)) return bad("latitude", p.latitude);
    if (!(std::fabs(p.longitude) <= 180.0f)) return bad("longitude", p.longitude);
    if (!(std::fabs(p.levelDbm) <= 1.0e4f)) return bad("level", p.levelDbm);
    return {};
}

std::optional<InterferencePoint> decodeInterferencePoint(std::string_view d) {
    if (d.size() < 12) return std::nullopt;
    return InterferencePoint{getI16(d, 0), getI16(d, 2), getI16(d, 4), getI16(d, 6), getF32(d, 8)};
}

PlotFileWalk::PlotFileWalk(std::string bytes) : bytes_(std::move(bytes)) {
    // The current layout's first record is the version text.
    if (bytes_.size() < 8) {
        old_ = true;
        return;
    }
    const std::uint32_t length = getU32(bytes_, 0);
    old_ = !(length <= bytes_.size() - 8 &&
             std::string_view(bytes_.data() + 4, length).find("CRV Version") != std::string_view::npos);
}

std::nullopt_t PlotFileWalk::fail(const char* why) {
    error_ = std::string("the file is damaged: ") + why + " at byte " + std::to_string(at_);
    return std::nullopt;
}

std::optional<std::string_view> PlotFileWalk::next(std::size_t oldSize) {
    if (!error_.empty() || at_ >= bytes_.size()) return std::nullopt;
    if (old_) {
        if (bytes_.size() - at_ < 2 + oldSize) return fail("a record is cut short");
        const std::string_view data(bytes_.data() + at_ + 2, oldSize);
        at_ += 2 + oldSize;
        return data;
    }
    const std::size_t left = bytes_.size() - at_;
    if (left < 4) return fail("incomplete record length");
    const std::uint32_t length = getU32(bytes_, at_);
    if (std::uint64_t(length) + 8 > left) return fail("a record runs past the end of the file");
    if (getU32(bytes_, at_ + 4 + length) != length) return fail("record lengths disagree");
    const std::string_view data(bytes_.data() + at_ + 4, length);
    at_ += std::size_t(length) + 8;
    return data;
}

std::optional<PlotHeader> PlotFileWalk::header() {
    std::string error;
    std::optional<PlotHeader> h;
    if (!old_) {
        h = headerFrom([&] { return next(); },
                       [&](int i) {
                           return error_.empty() ? "the plot header ends early (record " + std::to_string(i) + ")"
                                                 : error_;
                       },
                       error);
    } else {
        // The first versions: no version record, the texts at the widths of
        // their time.
        static constexpr std::size_t kSizes[17] = {15, 25, 8, 12, 60, 73, 4, 4, 4, 4, 2, 3, 4, 4, 2, 4, 4};
        std::size_t index = 0;
        h = headerFrom(
            [&]() -> std::optional<std::string_view> {
                // Record 1, the version, is not in the file.
                if (index == 0) {
                    ++index;
                    return std::string_view();
                }
                return next(kSizes[index++ - 1]);
            },
            [&](int) { return std::string("the plot header ends early"); }, error);
        if (h) h->version.clear();
    }
    if (!h && error_.empty()) error_ = error;
    return h;
}

crv::platform::Expected<PlotFileWalk> readPlotFile(const std::string& path) {
    auto bytes = crv::platform::readRegularFile(path, kPlotFileMaxBytes);
    if (!bytes) return crv::platform::makeError(bytes.error());
    return PlotFileWalk(std::move(*bytes));
}

}  // namespace crv::formats
