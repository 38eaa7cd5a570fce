// The three facility databases of the sample region: fixed-length records
// ended by CR LF, sorted by their cell key, in the layouts the search reads.
#include <algorithm>
#include <cmath>

#include "crv/formats/facility_records.h"
#include "sample_common.h"

namespace crv::sample {

namespace {

using crv::formats::ColumnLine;
namespace fm = crv::formats::fm_database_record;
namespace nav = crv::formats::navaid_database_record;
namespace com = crv::formats::com_database_record;

// Columns 1-22 of a record: the cell key and the position, from the position
// rounded to whole seconds as the record holds it.
std::string positionFields(double latitude, double longitude) {
    const Dms lat = toDms(latitude), lon = toDms(longitude);
    crv::formats::DmsPosition p;
    p.latDeg = lat.negative ? -lat.degrees : lat.degrees;
    p.latMin = lat.minutes;
    p.latSec = lat.seconds;
    p.latNegative = lat.negative;
    p.lonDeg = lon.negative ? -lon.degrees : lon.degrees;
    p.lonMin = lon.minutes;
    p.lonSec = lon.seconds;
    p.lonNegative = lon.negative;
    return crv::formats::writeDatabasePosition(p);
}
std::string cellKeyOf(double latitude, double longitude) {
    return positionFields(latitude, longitude).substr(0, static_cast<std::size_t>(crv::formats::database_record::cellKey.width()));
}

struct Entry {
    std::string key;
    std::string record;
};

void sortByKey(std::vector<Entry>& entries) {
    std::stable_sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) { return a.key < b.key; });
}

std::vector<std::string> records(const std::vector<Entry>& entries) {
    std::vector<std::string> out;
    for (const auto& e : entries) out.push_back(e.record);
    return out;
}

// FM frequency field, 5 characters: "101.5" or, with one implied decimal, " 1015".
std::string fmFrequency(double mhz, bool implied) {
    const long long tenths = std::llround(mhz * 10);
    if (implied) return num(tenths, 5);
    return fixed(static_cast<double>(tenths) / 10.0, 5, 1);
}

// Navaid and COM frequency field, 8 characters: "108.1000" or "1081000 ".
std::string navFrequency(double mhz, bool implied) {
    const long long units = std::llround(mhz * 10000);
    if (implied) {
        std::string s = std::to_string(units);
        s.resize(8, ' ');
        return s;
    }
    return fixed(static_cast<double>(units) / 10000.0, 8, 4);
}

// Numbers read by their leading digits stand at the left of their field.
std::string leading(long long value, int width) {
    std::string s = std::to_string(value);
    s.resize(static_cast<std::size_t>(width), ' ');
    return s;
}

struct FmStation {
    std::string call;
    double mhz;
    double lat, lon;
    std::string state, city, licence;
    double erp1, erp2;
    int heightM;
    bool impliedFrequency;
};

std::string fmRecord(const FmStation& s, bool longLayout, int serial) {
    ColumnLine r(static_cast<std::size_t>(longLayout ? fm::kLongLength : fm::kShortLength));
    r.text({1, 22}, positionFields(s.lat, s.lon));
    r.text(fm::callSign, s.call + "-FM");
    r.text(fm::frequency, fmFrequency(s.mhz, s.impliedFrequency));
    r.text(fm::state, s.state);
    r.text(fm::city, s.city);
    r.text({68, 81}, "SMP" + std::to_string(100000 + serial));  // facility number, not read
    r.text(fm::licenceStatus, s.licence);
    r.text({88, 93}, "ZZ");  // not read
    r.text(fm::erp1, fixed(s.erp1, 6, 2));
    if (longLayout) {
        r.text(fm::erp2, fixed(s.erp2, 6, 2));
        r.text(fm::heightLong, num(s.heightM, 4));
    } else {
        r.text(fm::heightShort, num(s.heightM, 4));
    }
    return r.str();
}

std::vector<FmStation> fmStations() {
    Random random(1207);
    static const char* states[] = {"ZA", "ZB", "ZC"};
    static const char* licences[] = {"LIC", "LIC", "LIC", "LIC", "CP ", "APP", "STA"};
    std::vector<FmStation> out;
    for (const auto& d : designedStations())
        out.push_back({d.callSign, d.frequencyMHz, d.latitude, d.longitude, "ZA", d.city, "LIC", d.erpKw, 0.0,
                       d.heightM, false});
    int n = 0;
    while (out.size() < 300) {
        ++n;
        std::string call = "Q";
        for (int i = 0; i < 3; ++i) call.push_back(static_cast<char>('A' + random.below(26)));
        if (call.rfind("QK", 0) == 0 || call.rfind("QV", 0) == 0 || call.rfind("QD", 0) == 0) continue;
        FmStation s;
        s.call = call;
        s.mhz = 88.1 + 0.2 * random.below(100);
        s.lat = random.uniform(36.6, 40.9);
        s.lon = random.uniform(75.4, 79.9);
        s.state = states[random.below(3)];
        s.city = placeName(random);
        s.licence = n % 23 == 0 ? "DEL" : licences[random.below(7)];
        s.erp1 = std::round(random.uniform(0.1, 100.0) * 100) / 100;
        s.erp2 = std::round(s.erp1 * random.uniform(0.5, 1.0) * 100) / 100;
        // Some stations report only their vertical ERP.
        if (n % 11 == 0) s.erp1 = 0.0;
        s.heightM = 100 + random.below(600);
        s.impliedFrequency = n % 3 == 0;
        out.push_back(s);
    }
    return out;
}

struct Navaid {
    std::string ident;
    double mhz;
    double lat, lon;
    std::string state, name, bearing, code;
    std::string d1, d2, d3;
    int elevationFt, heightFt, powerW;
};

std::string navaidRecord(const Navaid& n, bool impliedFrequency) {
    ColumnLine r(static_cast<std::size_t>(nav::kLength));
    r.text({1, 22}, positionFields(n.lat, n.lon));
    r.text(nav::frequency, navFrequency(n.mhz, impliedFrequency));
    r.text({31, 40}, "SMP-NAV");  // not read
    r.text(nav::state, n.state);
    r.text(nav::name, n.name);
    r.text(nav::bearing, n.bearing);
    r.text(nav::identifier, n.ident);
    r.text(nav::descriptive1, n.d1);
    r.text(nav::descriptive2, n.d2);
    r.text(nav::siteElevation, leading(n.elevationFt, 6));
    r.text(nav::antennaHeight, leading(n.heightFt, 5));
    r.text(nav::serviceVolumeCode, n.code);
    r.text(nav::descriptive3, n.d3);
    r.text(nav::power, num(n.powerW, 3));
    return r.str();
}

std::vector<Navaid> navaids() {
    Random random(4410);
    std::vector<Navaid> out;
    const auto& ils = sampleIls();
    const auto& vor = sampleVor();
    // The two sample facilities first. The ILS antenna description names the
    // 8-element traveling-wave model (code 14 with "TRAV").
    out.push_back({ils.identifier, ils.frequencyMHz, ils.latitude, ils.longitude, "ZB", "QUENFIELD INTL", "095",
                   "STD  ", "14 ", "TRAV WAVE", "RWY 27 LOC", 420, 25, 15});
    out.push_back({vor.identifier, vor.frequencyMHz, vor.latitude, vor.longitude, "ZA", "TESSALY VORTAC", "",
                   "OPT L", "VOR", "DOPPLER", "", 1210, 30, 100});
    // Descriptive fields that exercise each rule of the programs' antenna
    // model lookup (code in field 1, texts in fields 2 and 3).
    struct Antenna {
        const char* d1;
        const char* d2;
        const char* d3;
    };
    static const Antenna antennas[] = {
        {"04 ", "", "LOOP ARRAY"},       {"12 ", "VRING", ""},        {"12 ", "", "CA1339 8 LOOP"},
        {"17 ", "TRAVEL 6", ""},          {"17 ", "LPD", ""},          {"20 ", "", "MK-XII"},
        {"13 ", "", "AIL TWIN"},          {"23 ", "", "GRN-29"},       {"17 ", "PARAB", "GRN-27 (N)"},
        {"99 ", "", "FA9320"},            {"99 ", "WAVEG", ""},        {"99 ", "", "STAN 37"},
        {"15 ", "", ""},                  {"99 ", "", "UNKNOWN MODEL"},
    };
    static const char* ilsCodes[] = {"STD  ", "OPT A", "OPT B", "OPT C"};
    static const char* vorCodes[] = {"OPT T", "OPT L", "OPT H"};
    for (int i = 0; i < 38; ++i) {
        Navaid n;
        const bool ilsLike = i % 2 == 0;
        n.ident = std::string(ilsLike ? "I" : "") + static_cast<char>('A' + (i * 7) % 26) +
                  static_cast<char>('A' + (i * 11 + 3) % 26) + (ilsLike ? "" : std::string(1, 'A' + i % 26));
        n.lat = random.uniform(36.8, 40.8);
        n.lon = random.uniform(75.6, 79.7);
        n.state = i % 3 == 0 ? "ZA" : i % 3 == 1 ? "ZB" : "ZC";
        n.name = placeName(random) + (ilsLike ? " MUNI" : " VOR");
        n.elevationFt = 50 + random.below(2500);
        n.heightFt = 10 + random.below(40);
        if (ilsLike) {
            n.mhz = 108.1 + 0.05 * (2 * random.below(40));
            n.mhz = std::round(n.mhz * 100) / 100;
            if (static_cast<long long>(std::llround(n.mhz * 10)) % 2 == 0) n.mhz += 0.1;  // odd tenths
            n.code = ilsCodes[(i / 2) % 4];
            n.bearing = num(random.below(360) + 1, 3);
            if (n.bearing[0] == ' ') n.bearing = std::to_string(std::stoi(n.bearing)) + "   ";
            const Antenna& a = antennas[(i / 2) % 14];
            n.d1 = a.d1;
            n.d2 = a.d2;
            n.d3 = a.d3;
            n.powerW = 15;
        } else {
            n.mhz = 108.0 + 0.05 * random.below(200);
            n.code = vorCodes[(i / 2) % 3];
            n.bearing = "";
            n.d1 = "VOR";
            n.d2 = "CONVENTNL";
            n.powerW = 50 + 50 * random.below(4);
        }
        out.push_back(n);
    }
    // A localizer whose bearing is missing, and a facility of a service volume
    // the programs do not know.
    out[2].bearing = "";
    out[5].code = "OPT Q";
    return out;
}

struct Com {
    double mhz;
    double lat, lon;
    std::string state, name;
    int elevationFt, heightFt, powerW;
    int radiusNmi, heightHundreds;  // 0 = left blank
};

std::string comRecord(const Com& c, bool impliedFrequency) {
    ColumnLine r(static_cast<std::size_t>(com::kLength));
    r.text({1, 22}, positionFields(c.lat, c.lon));
    r.text(com::frequency, navFrequency(c.mhz, impliedFrequency));
    r.text({31, 40}, "SMP-COM");  // not read
    r.text(com::state, c.state);
    r.text(com::name, c.name);
    r.text(com::siteElevation, leading(c.elevationFt, 6));
    r.text(com::antennaHeight, leading(c.heightFt, 5));
    r.text(com::power, leading(c.powerW, 3));
    if (c.radiusNmi > 0) r.text(com::radius, leading(c.radiusNmi, 4));
    if (c.heightHundreds > 0) r.text(com::height, leading(c.heightHundreds, 3));
    return r.str();
}

std::vector<Com> comFacilities() {
    Random random(7731);
    std::vector<Com> out;
    const auto& com = sampleCom();
    out.push_back({com.frequencyMHz, com.latitude, com.longitude, "ZC", "CEDARVALE RCO", 310, 40, 50, 0, 0});
    for (int i = 0; i < 39; ++i) {
        Com c;
        c.mhz = 118.0 + 0.025 * random.below(720);
        c.lat = random.uniform(36.8, 40.8);
        c.lon = random.uniform(75.6, 79.7);
        c.state = i % 2 ? "ZA" : "ZB";
        c.name = placeName(random) + (i % 3 ? " TWR" : " RCO");
        c.elevationFt = 20 + random.below(3000);
        c.heightFt = 10 + random.below(60);
        c.powerW = 10 + 10 * random.below(5);
        c.radiusNmi = i % 4 == 0 ? 0 : 20 + 5 * random.below(13);
        c.heightHundreds = i % 5 == 0 ? 0 : 50 + 10 * random.below(20);
        out.push_back(c);
    }
    // 118.075: a quarter-channel the identifier rounds up from 37.5.
    out[1].mhz = 118.075;
    return out;
}

}  // namespace

bool writeDatabases(const std::string& folder) {
    const auto stations = fmStations();
    std::vector<Entry> longLayout, shortLayout;
    for (std::size_t i = 0; i < stations.size(); ++i) {
        const auto& s = stations[i];
        const std::string key = cellKeyOf(s.lat, s.lon);
        longLayout.push_back({key, fmRecord(s, true, static_cast<int>(i))});
        if (i < 13 || i % 25 == 0) shortLayout.push_back({key, fmRecord(s, false, static_cast<int>(i))});
    }
    sortByKey(longLayout);
    sortByKey(shortLayout);

    std::vector<Entry> nav;
    int i = 0;
    for (const auto& n : navaids()) nav.push_back({cellKeyOf(n.lat, n.lon), navaidRecord(n, i++ % 4 == 1)});
    sortByKey(nav);

    std::vector<Entry> com;
    i = 0;
    for (const auto& c : comFacilities()) com.push_back({cellKeyOf(c.lat, c.lon), comRecord(c, i++ % 3 == 2)});
    sortByKey(com);

    return writeLines(folder + "FMALL.dat", records(longLayout)) &&
           writeLines(folder + "FMSHORT.dat", records(shortLayout)) &&
           writeLines(folder + "A108M118.dat", records(nav)) && writeLines(folder + "G118M136.dat", records(com));
}

}  // namespace crv::sample
