#pragma once
// Receiver-point files (".plx") and interference plot files (".plt"): records
// framed by a 4-byte little-endian length before and after, little-endian
// integers, IEEE single reals, blank-padded texts. The engine writes them and
// the plot viewer reads them with this one unit.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "crv/formats/version.h"
#include "crv/platform/expected.h"
#include "crv/platform/output_file.h"

namespace crv::formats {

inline constexpr std::int16_t kSectionEnd = 9999;

// The most receiver points a grid lays (the grid refuses a case that would
// make more): every evaluation reads the point file whole and tests each
// point against every station.
inline constexpr long long kMaxReceiverPoints = 5'000'000;
// The 18 header records with their length markers: 279 bytes of data.
inline constexpr std::size_t kPlotHeaderBytes = 279 + 18 * 8;
// The largest files a run writes: every receiver point once and at most two
// section ends (the vertical grid's carries seven reals), each record with
// its two length markers. An interference plot file holds at most one point
// record per receiver point. A file past its bound is refused from its size.
inline constexpr std::size_t kReceiverPointFileMaxBytes =
    kPlotHeaderBytes + static_cast<std::size_t>(kMaxReceiverPoints + 2) * (4 + 30 + 4);
inline constexpr std::size_t kInterferencePlotFileMaxBytes =
    kPlotHeaderBytes + static_cast<std::size_t>(kMaxReceiverPoints + 2) * (4 + 12 + 4);
// Any plot file the viewer is given: the larger of the two.
inline constexpr std::size_t kPlotFileMaxBytes = kReceiverPointFileMaxBytes;

// The 18 header records shared by both kinds of file.
struct PlotHeader {
    std::string version = kVersionText;  // 20
    std::string airspaceCase;            // 15
    std::string site;                    // 25
    std::string date;                    // 8
    std::string fileName;                // 12
    std::string title1;                  // 80 (older files: 60)
    std::string title2;                  // 80 (older files: 73)
    float headingDeg = 0;
    float frequencyMHz = 0;
    float fieldElevationFt = 0;
    float runwayLengthFt = 0;  // receiver-point file: localizer-to-threshold distance
    std::int16_t serviceVolumeType = 0;
    std::string navaidId;  // 3
    float serviceVolumeRadiusNmi = 0;
    float serviceVolumeHeightFt = 0;
    std::int16_t gridType = 0;
    float gridAltitudeFt = 0;
    float gridAngleDeg = 0;
};

// One receiver point (26 bytes). A section end has id 9999; the vertical grid's
// section end carries seven reals, the third (read here as altitudeFt) being
// the azimuth of the vertical plane.
struct ReceiverPoint {
    std::int16_t id = 0;
    float distanceNmi = 0;
    float azimuthDeg = 0;
    float altitudeFt = 0;
    float latitude = 0;
    float longitude = 0;
    float levelDbm = 0;
};

// One interference plot point (12 bytes) as stored.
struct InterferencePoint {
    std::int16_t levelDb = 0;
    std::int16_t distance100 = 0;
    std::int16_t azimuth100 = 0;
    std::int16_t altitudeFt = 0;
    float extra = 0;
};

// Nearest whole number, halves away from zero, held within the 16-bit range
// (values beyond it saturate instead of wrapping).
std::int16_t saturate16(double value);
// The stored record of a point: level rounded to whole dB, distance and
// azimuth times 100 (azimuth first wrapped into [-180, 180)), altitude rounded.
InterferencePoint makeInterferencePoint(double levelDb, double distanceNmi, double azimuthDeg, double altitudeFt,
                                        float extra);
InterferencePoint sectionEndPoint();

// Serialisation of single records (exposed for tests and for readers).
std::string encodeHeaderRecord(const PlotHeader& h, int index);  // index 1..18
std::string encodeReceiverPoint(const ReceiverPoint& p);
// Appends the point's whole record (its length, the data and its length again)
// as RecordWriter::writeRecord writes it.
void appendReceiverPointRecord(std::string& out, const ReceiverPoint& p);
std::string encodeVerticalSectionEnd(float planeAzimuthDeg);
std::string encodeInterferencePoint(const InterferencePoint& p);

class RecordWriter {
public:
    RecordWriter() = default;
    ~RecordWriter();
    RecordWriter(const RecordWriter&) = delete;
    RecordWriter& operator=(const RecordWriter&) = delete;

    // Creates the file under a temporary name that close() renames to PATH,
    // so a plot under its name is always whole; false when it cannot be
    // created (error() says why: a link, FIFO or folder there is refused).
    bool open(const std::string& path);
    bool isOpen() const { return file_.isOpen(); }
    void writeRecord(std::string_view data);
    // Writes records already framed (appendReceiverPointRecord).
    void writeFramed(std::string_view records);
    void writeHeader(const PlotHeader& header);
    // Closes and keeps the file; false when any write failed.
    bool close();
    // Closes and deletes the file.
    void discard();
    const std::string& path() const { return path_; }
    bool failed() const { return failed_; }
    const std::string& error() const { return error_; }

private:
    crv::platform::OutputFile file_;
    std::string path_;
    std::string error_;
    bool failed_ = false;
};

class RecordReader {
public:
    RecordReader() = default;
    ~RecordReader();
    RecordReader(const RecordReader&) = delete;
    RecordReader& operator=(const RecordReader&) = delete;

    bool open(const std::string& path);
    // The next record's data; nullopt at the end of the file or on damage
    // (then error() says what is wrong). Both length markers are checked, and a
    // length running past the end of the file is reported, never read.
    std::optional<std::string> next();
    bool damaged() const { return !error_.empty(); }
    const std::string& error() const { return error_; }
    void close();

private:
    std::FILE* file_ = nullptr;
    std::string path_;
    long size_ = 0;
    long pos_ = 0;  // bytes read so far
    std::string error_;
};

// Reading whole files. Each returns nullopt with `error` set when the file is
// missing, short or damaged.
std::optional<PlotHeader> readPlotHeader(RecordReader& reader, std::string& error);
std::optional<ReceiverPoint> decodeReceiverPoint(std::string_view data);
// What is wrong with a decoded receiver point ("" when nothing): a value that
// is not finite or lies where no receiver point can be (the framing of a
// damaged file can be sound while its numbers are not). Names the field and
// the value.
std::string receiverPointProblem(const ReceiverPoint& p);
std::optional<InterferencePoint> decodeInterferencePoint(std::string_view data);

// A plot or receiver-point file held whole in memory and walked record by
// record, with the framing checks of RecordReader: both length markers equal,
// nothing read past the end. A page of a million points would otherwise cost
// a system call per record. Files of the first versions are walked too: no
// version record, no length markers but 2 bytes before each record, records
// of fixed sizes, titles of 60 and 73 characters.
class PlotFileWalk {
public:
    explicit PlotFileWalk(std::string bytes);
    // The header records; nullopt with error() set when they end early or
    // are damaged.
    std::optional<PlotHeader> header();
    // The next record's data (oldSize bytes in the first versions); nullopt
    // at the end or on damage (error() set).
    std::optional<std::string_view> next(std::size_t oldSize = 0);
    const std::string& error() const { return error_; }

private:
    std::nullopt_t fail(const char* why);
    std::string bytes_;
    std::size_t at_ = 0;
    std::string error_;
    bool old_ = false;
};

// The whole of a plot or receiver-point file of at most kPlotFileMaxBytes,
// refused from its size when larger; errors name the file.
crv::platform::Expected<PlotFileWalk> readPlotFile(const std::string& path);

}  // namespace crv::formats
