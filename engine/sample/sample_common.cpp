#include "sample_common.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "crv/platform/numbers.h"
#include "crv/platform/text_file.h"

namespace crv::sample {

Dms toDms(double degrees) {
    Dms d;
    d.negative = degrees < 0;
    const double a = std::fabs(degrees);
    long long totalSeconds = static_cast<long long>(std::nearbyint(a * 3600.0));  // halves to even
    d.degrees = static_cast<int>(totalSeconds / 3600);
    d.minutes = static_cast<int>((totalSeconds / 60) % 60);
    d.seconds = static_cast<int>(totalSeconds % 60);
    return d;
}

std::string num(long long value, int width) {
    std::string s = std::to_string(value);
    if (static_cast<int>(s.size()) < width) s.insert(0, static_cast<std::size_t>(width) - s.size(), ' ');
    return s;
}

std::string fixed(double value, int width, int decimals) {
    std::string s = crv::platform::formatFixed(value, decimals);
    if (static_cast<int>(s.size()) < width) s.insert(0, static_cast<std::size_t>(width) - s.size(), ' ');
    return s;
}


void offset(double latitude, double longitude, double distanceNmi, double bearingDeg, double& outLat,
            double& outLon) {
    const double theta = bearingDeg * 0.0174532925199433;
    const double delta = distanceNmi / 60.0;
    outLat = latitude + delta * std::cos(theta);
    outLon = longitude - delta * std::sin(theta) / std::cos(((latitude + outLat) / 2.0) * 0.0174532925199433);
}

bool writeLines(const std::string& path, const std::vector<std::string>& lines) {
    // Replaced whole, and never through a link or into a FIFO at the path.
    crv::platform::TextWriter out;
    auto done = out.open(path, crv::platform::WriteMode::Replace);
    if (done) {
        for (const auto& l : lines) out.writeLine(l);
        done = out.close();
    }
    if (!done) {
        std::fprintf(stderr, "crv_sample: could not write %s: %s\n", path.c_str(), done.error().c_str());
        return false;
    }
    return true;
}

std::string placeName(Random& random) {
    static const char* first[] = {"Marl", "Tess", "Quen", "Brav", "Ost", "Hallo", "Wren", "Corm", "Dun", "Fael",
                                  "Grist", "Yarro", "Pell", "Sorr", "Vant", "Ember"};
    static const char* last[] = {"ford", "bury", "wick", "haven", "field", "mere", "stead", "dale", "crest",
                                 "ton", "brook", "gate"};
    std::string name = std::string(first[random.below(16)]) + last[random.below(12)];
    for (char& c : name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return name;
}

const DesignedFacility& sampleIls() {
    static const DesignedFacility f{"QKV", 108.10, 39.0 + 20.0 / 60 + 15.0 / 3600, 77.0 + 45.0 / 60 + 40.0 / 3600};
    return f;
}
const DesignedFacility& sampleVor() {
    static const DesignedFacility f{"QVT", 112.00, 38.0 + 40.0 / 60, 78.0 + 10.0 / 60};
    return f;
}
const DesignedFacility& sampleCom() {
    // 38N 77W on 118.000 MHz: the identifier of this COM record is "DW0".
    static const DesignedFacility f{"DW0", 118.000, 38.0, 77.0};
    return f;
}

const std::vector<SampleStation>& designedStations() {
    static const std::vector<SampleStation> stations = [] {
        std::vector<SampleStation> s;
        auto near = [&](const DesignedFacility& f, const char* call, double mhz, double nmi, double bearing,
                        double erp, int heightM, const char* city) {
            double lat = 0, lon = 0;
            offset(f.latitude, f.longitude, nmi, bearing, lat, lon);
            s.push_back({call, mhz, lat, lon, erp, heightM, city});
        };
        // Around the ILS on 108.10, all within a few miles of the localizer:
        // 2 x 107.9 - 107.7 (and 2 x 106.1 - 104.1)
        // and 107.5 + 107.7 - 107.1, 107.9 + 107.7 - 107.5 fall on 108.10;
        // 107.9 sits 200 kHz from the localizer (adjacent channel) and 107.1
        // is strong enough to overload the receiver near its tower.
        const auto& ils = sampleIls();
        near(ils, "QKAA", 106.1, 6.0, 80, 50.0, 420, "HALLOWFORD");
        near(ils, "QKAB", 104.1, 9.0, 250, 30.0, 380, "TESSBURY");
        near(ils, "QKAC", 107.1, 4.0, 120, 20.0, 350, "MARLWICK");
        near(ils, "QKAD", 107.5, 8.0, 80, 25.0, 300, "OSTHAVEN");
        near(ils, "QKAF", 99.5, 7.0, 30, 3.0, 280, "WRENMERE");
        near(ils, "QKAG", 107.7, 6.0, 110, 45.0, 500, "CORMSTEAD");
        // Around the VOR on 112.00: 2 x 107.7 - 103.4 and 107.7 + 107.5 - 103.2
        // (107.5 is the case's proposed station).
        const auto& vor = sampleVor();
        near(vor, "QVAA", 107.7, 8.0, 45, 40.0, 450, "DUNDALE");
        near(vor, "QVAB", 103.4, 10.0, 190, 25.0, 390, "FAELCREST");
        near(vor, "QVAC", 103.2, 5.0, 310, 6.0, 330, "GRISTTON");
        // Around the COM facility on 118.000: 2 x 106.1 - 94.2 and 106.1 + 107.5 - 95.7
        // (117.9, within the 100 kHz window); the four share a hill within
        // 1 nmi of the site, so the ground receiver sees them too.
        const auto& com = sampleCom();
        near(com, "QDAA", 106.1, 0.6, 100, 50.0, 400, "YARROBROOK");
        near(com, "QDAB", 94.2, 0.8, 220, 35.0, 360, "PELLGATE");
        near(com, "QDAC", 107.5, 0.5, 340, 20.0, 300, "SORRFORD");
        near(com, "QDAD", 95.7, 0.9, 20, 15.0, 310, "VANTBURY");
        near(com, "QDAE", 99.1, 12.0, 60, 8.0, 280, "HOLLISMERE");
        return s;
    }();
    return stations;
}

}  // namespace crv::sample
