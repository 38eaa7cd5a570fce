#pragma once
// Shared pieces of the sample generator: the fixed-seed random source, fixed
// column records, positions in degrees-minutes-seconds and file writing.
#include <cstdint>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace crv::sample {

// mt19937's sequence is fixed by the standard; the mapping to ranges is our
// own, so the output does not depend on the library's distributions.
class Random {
public:
    explicit Random(std::uint32_t seed) : engine_(seed) {}
    double uniform(double low, double high) { return low + (high - low) * (engine_() / 4294967296.0); }
    int below(int n) { return static_cast<int>(engine_() % static_cast<std::uint32_t>(n)); }

private:
    std::mt19937 engine_;
};

struct Dms {
    int degrees = 0, minutes = 0, seconds = 0;
    bool negative = false;  // south or east
};
// Whole seconds, halves to even as the case editor writes them.
Dms toDms(double degrees);

// "%*d" and fixed decimals, locale-free.
std::string num(long long value, int width);
std::string fixed(double value, int width, int decimals);

// The point at a distance (nmi) and bearing from a position; the flat-earth
// model the system uses (longitude positive west).
void offset(double latitude, double longitude, double distanceNmi, double bearingDeg, double& outLat, double& outLon);

// Lines ended by CR LF. Returns false (and prints why) when the file cannot be written.
bool writeLines(const std::string& path, const std::vector<std::string>& lines);

// Invented place and call-sign material.
std::string placeName(Random& random);

// The sample region and facilities the databases and cases share.
struct SampleStation {
    std::string callSign;  // 4 letters
    double frequencyMHz;
    double latitude, longitude;
    double erpKw;
    int heightM;  // antenna elevation, metres
    std::string city;
};

struct DesignedFacility {
    std::string identifier;
    double frequencyMHz;
    double latitude, longitude;
};

// The stations placed around the three sample facilities so that a run finds
// adjacent-channel, overload and intermodulation interference.
const std::vector<SampleStation>& designedStations();
const DesignedFacility& sampleIls();
const DesignedFacility& sampleVor();
const DesignedFacility& sampleCom();

bool writeDatabases(const std::string& folder);
bool writeUserFiles(const std::string& folder);
bool writeCases(const std::string& folder);

}  // namespace crv::sample
