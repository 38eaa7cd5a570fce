#include "navaid_models.h"

#include <algorithm>
#include <cmath>
#include <complex>

#include "failure.h"
#include "localizer_pattern_table.h"
#include "reflect.h"
#include "vor_antenna.h"

namespace crv::engine {

namespace {

using cd = std::complex<double>;
constexpr double kPi = 3.14159265358979323846;
constexpr double kSpeedOfLight = 299792458.0;
constexpr double kMetresPerNmi = 1852.0;
constexpr double kMetresPerFt = 0.3048;
constexpr double kFtPerNmi = 6076.115;
constexpr double kImpedance = 376.730407715;
constexpr double kTiny = 1e-12;
constexpr double kMinDistanceNmi = 0.00001;

double wavelengthM(const Facility& navaid) { return kSpeedOfLight / (navaid.frequencyMHz * 1e6); }

void requireModel(const EngineState& state, const char* routine) {
    const std::string mismatch = navaidModelMismatch(state.navaid.arrayType, state.navaid.serviceVolumeType);
    if (!mismatch.empty()) fail(routine, mismatch);
}

double icaoFloor(const EngineState& state, double level, double minimum) {
    return state.options.observeIcaoMinimum != 0 ? std::max(level, minimum) : level;
}

}  // namespace

ArrayGains localizerArrayPattern(const EngineState& state, int arrayType, double offCourseDeg) {
    const double a = std::fabs(offCourseDeg);
    if (arrayType == 38) {
        const Pattern& p = state.patterns.localizer;
        if (!p.loaded) fail("LocLevel       ", "The localizer pattern file \"LocHor.pat\" has not been read.");
        const double t = a / 5.0;
        double value;
        if (!(t < 36.0)) {
            value = p.values[36];
        } else {
            const auto k = static_cast<std::size_t>(t);
            value = p.values[k] + (t - static_cast<double>(k)) * (p.values[k + 1] - p.values[k]);
        }
        return {state.patterns.localizerGainDb, 20.0 * std::log10(std::max(value, kTiny))};
    }
    double patternDb;
    if (!(a < 180.0)) {
        patternDb = localizerPatternDb(arrayType, 180);
    } else {
        const int lower = static_cast<int>(a);
        const double f0 = std::pow(10.0, localizerPatternDb(arrayType, lower) / 20.0);
        const double f1 = std::pow(10.0, localizerPatternDb(arrayType, lower + 1) / 20.0);
        const double field = f0 + (a - lower) * (f1 - f0);
        patternDb = 20.0 * std::log10(std::max(field, kTiny));
    }
    return {localizerArrayGainDb(arrayType), patternDb};
}

namespace {

// Level (dBm) of a localizer array over reflecting ground.
double arrayLevel(const EngineState& state, int arrayType, double d, double a, double h) {
    const Facility& nav = state.navaid;
    const double lambda = wavelengthM(nav);
    const double k = 2.0 * kPi / lambda;
    const ArrayGains g = localizerArrayPattern(state, arrayType, a);
    const double dm = d * kMetresPerNmi;
    const double z = (h - nav.fieldElevationFt) * kMetresPerFt;
    constexpr double antennaM = 1.698;
    const double r1 = std::hypot(dm, z - antennaM);
    const double e1 = std::atan2(z - antennaM, dm);
    const double r2 = std::hypot(dm, z + antennaM);
    const double e2 = std::atan2(z + antennaM, dm);
    const cd field1 = std::pow(std::cos(e1), 2) / r1 * std::exp(cd(0, k * r1));
    const cd field2 = std::pow(std::cos(e2), 2) / r2 * std::exp(cd(0, k * r2));
    const cd field =
        field1 + Reflect(e2, nav.frequencyMHz * 1e6, kGroundPermittivity, kGroundConductivitySm) * field2;
    const double spread = nav.transmitterPower * std::pow(lambda / (4.0 * kPi), 2);
    return 10.0 * std::log10(spread) + g.arrayDb + g.patternDb + 10.0 * std::log10(std::max(std::norm(field), kTiny)) +
           30.0 - 15.08;
}

// Received level (dBm) from a field strength in dB above 1 uV/m.
double levelFromFieldStrength(double fieldDbUv, double frequencyMHz) {
    const double ratio = std::pow(10.0, fieldDbUv / 20.0) / frequencyMHz;
    return 10.0 * std::log10(1.9e-11 * ratio * ratio) + 30.0;
}

// Type 32: the field strength of the published localizer coverage curve.
double fieldStrengthLevel(const EngineState& state, double d, double a) {
    const double dk = d * 1.852;
    double v;
    if (std::fabs(a) > 10.0)
        v = 39.0 - dk / 4.5;
    else
        v = dk <= 18.5 ? 39.0 : 39.0 - 0.25 * (dk - 18.5);
    return levelFromFieldStrength(v, state.navaid.frequencyMHz);
}

// Type 33: the type-5 array over a two-ray ground, as a field strength.
double twoRayFieldLevel(const EngineState& state, double d, double a, double h) {
    const Facility& nav = state.navaid;
    const double lambda = wavelengthM(nav);
    const ArrayGains g = localizerArrayPattern(state, 5, a);
    const double dk = d * 1.852;
    const double dm = d * kMetresPerNmi;
    const double z = (h - nav.fieldElevationFt) * kMetresPerFt;
    const double ground =
        std::max(2.0 - 2.0 * std::cos(2.0 * kPi * 3.396 * (z - std::pow(dk / 4.1, 2)) / (dm * lambda)), kTiny);
    const double v = 10.0 * std::log10(nav.transmitterPower) + g.arrayDb - 9.0 + 76.9 -
                     20.0 * std::log10(std::sqrt(dk * dk + std::pow(z / 1000.0, 2))) + 10.0 * std::log10(ground) +
                     g.patternDb;
    return levelFromFieldStrength(v, nav.frequencyMHz);
}

// Type 35 (TLS): a constant level, raised on the approach path.
double tlsLevel(const EngineState& state, double d, double h) {
    const Facility& nav = state.navaid;
    const double above = h - nav.fieldElevationFt;
    if (above >= 200.0 && d <= 10.0) {
        const double angle = std::atan2(above, d * kFtPerNmi - nav.runwayLengthFt - 50.0) * 180.0 / kPi;
        if (angle >= 2.5 && angle <= 3.5) return -79.9;
    }
    return -86.9;
}

}  // namespace

std::string navaidModelMismatch(int arrayType, int serviceVolumeType) {
    if (arrayType == 1) return {};
    const std::string pair = "Navaid array type " + std::to_string(arrayType) + " cannot be used with service volume type " +
                             std::to_string(serviceVolumeType) + ": ";
    if (serviceVolumeType >= 0 && serviceVolumeType <= 4) {
        if ((arrayType >= 2 && arrayType <= 35) || arrayType == 38) return {};
        return pair + "the localizer model takes array types 1 to 35 and 38.";
    }
    if (serviceVolumeType >= 5 && serviceVolumeType <= 7) {
        if (arrayType == 36) return {};
        return pair + "the VOR model takes array types 1 and 36.";
    }
    if (serviceVolumeType == 8) {
        if (arrayType == 37) return {};
        return pair + "the VHF COM model takes array types 1 and 37.";
    }
    return pair + "no navaid model serves that service volume type.";
}

double LocalizerLevel(const EngineState& state, double distanceNmi, double relativeAzimuthDeg, double heightFt,
                      double antennaRejectionDb) {
    requireModel(state, "LocLevel       ");
    const int type = state.navaid.arrayType;
    const double d = std::max(distanceNmi, kMinDistanceNmi);
    const double a = relativeAzimuthDeg;
    double level;
    if (type == 1)
        level = kLocalizerMinimumDbm;
    else if (type == 32)
        level = fieldStrengthLevel(state, d, a);
    else if (type == 33)
        level = twoRayFieldLevel(state, d, a, heightFt);
    else if (type == 34)
        // Both candidates before the antenna rejection, which is taken once below.
        level = std::max(twoRayFieldLevel(state, d, a, heightFt) - 8.0, fieldStrengthLevel(state, d, a));
    else if (type == 35)
        level = tlsLevel(state, d, heightFt);
    else
        // Only the antenna-array forms are raised to the ICAO minimum: the
        // field-strength forms and the TLS give their own published levels
        // (the TLS its -86.9 dBm) whatever the option.
        level = icaoFloor(state, arrayLevel(state, type, d, a, heightFt), kLocalizerMinimumDbm);
    return level - antennaRejectionDb;
}

double VorLevel(const EngineState& state, double distanceNmi, double heightFt, double antennaRejectionDb) {
    requireModel(state, "VORLevel       ");
    const Facility& nav = state.navaid;
    double level = kVorMinimumDbm;
    if (nav.arrayType == 36) {
        const double lambda = wavelengthM(nav);
        const double dm = std::max(distanceNmi, kMinDistanceNmi) * kMetresPerNmi;
        // Heights above the site, like the localizer and COM models: the
        // antenna stands 12 ft above the field, not above sea level.
        const double z = (heightFt - nav.fieldElevationFt) * kMetresPerFt;
        constexpr double antennaM = 3.6578;
        const double r1 = std::hypot(dm, z - antennaM);
        const double e1 = std::atan2(z - antennaM, dm);
        const double r2 = std::hypot(dm, z + antennaM);
        const double e2 = std::atan2(-(z + antennaM), dm);
        const cd gamma = Reflect(e2, nav.frequencyMHz * 1e6, kGroundPermittivity, kGroundConductivitySm);
        const cd field = VorAntennaField(lambda, r1, e1) + gamma * VorAntennaField(lambda, r2, e2);
        const double density = std::norm(field) / kImpedance;
        const double received = std::max(nav.transmitterPower * density * lambda * lambda / (4.0 * kPi), kTiny);
        level = 10.0 * std::log10(received) + 30.0 - 3.0;
    }
    return icaoFloor(state, level, kVorMinimumDbm) - antennaRejectionDb;
}

double ComLevel(const EngineState& state, double distanceNmi, double heightFt, double antennaRejectionDb) {
    requireModel(state, "COMLevel       ");
    const Facility& nav = state.navaid;
    double level = kComMinimumDbm;
    if (nav.arrayType == 37) {
        const double lambda = wavelengthM(nav);
        const double dm = std::max(distanceNmi, kMinDistanceNmi) * kMetresPerNmi;
        const double z = (heightFt - nav.fieldElevationFt) * kMetresPerFt;
        constexpr double antennaM = 12.192;
        const double r = std::hypot(dm, z - antennaM);
        const double loss = 20.0 * std::log10(4.0 * kPi * r / lambda);
        const double theta = std::atan2(dm, z - antennaM);
        const double g = std::max(std::cos(kPi / 2.0 * std::cos(theta)) / std::sin(theta), kTiny);
        const double gain = 20.0 * std::log10(g) + 2.15;
        const double transmit = 10.0 * std::log10(nav.transmitterPower) + gain - 6.0;
        const double zc = z - std::pow(dm / 4100.0, 2);
        const double r1 = std::hypot(dm, zc - antennaM);
        const double r2 = std::hypot(dm, zc + antennaM);
        const double ground = std::max(2.0 - 2.0 * std::cos(2.0 * kPi * (r2 - r1) / lambda), kTiny);
        level = transmit + 30.0 + 10.0 * std::log10(ground) - loss;
    }
    return icaoFloor(state, level, kComMinimumDbm) - antennaRejectionDb;
}

double NavaidLevel(const EngineState& state, double distanceNmi, double relativeAzimuthDeg, double heightFt,
                   double antennaRejectionDb) {
    const int type = state.navaid.serviceVolumeType;
    if (type >= 0 && type <= 4)
        return LocalizerLevel(state, distanceNmi, relativeAzimuthDeg, heightFt, antennaRejectionDb);
    if (type >= 5 && type <= 7) return VorLevel(state, distanceNmi, heightFt, antennaRejectionDb);
    if (type == 8) return ComLevel(state, distanceNmi, heightFt, antennaRejectionDb);
    fail("NavaidLevel    ", "Invalid navaid service volume type");
}

}  // namespace crv::engine
