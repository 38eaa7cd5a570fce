#include "crv/formats/lat_lon.h"

#include <cmath>

#include "crv/formats/numbers.h"

namespace crv::formats {

std::string FormatLatLon(double value, int kind, int fmt) {
    const bool latitude = kind == 1;
    const double a = std::fabs(value);
    std::string text;
    if (fmt == 2) {
        text = formatDecimal(a, 4, 3) + kDegreeText;
    } else {
        double d = std::trunc(a);
        double m = (a - d) * 60.0;
        if (fmt == 3) {
            // 59.995 and above would print as 60.00 minutes.
            if (m >= 59.995) {
                m = 0.0;
                d += 1.0;
            }
            text = formatDecimal(d, 0, 3) + kDegreeText + " " + formatDecimal(m, 2, 2) + "'";
        } else {
            double mi = std::trunc(m);
            // Halves go to the even second. They are judged on the seconds to a
            // millionth, so that 59.5" typed by a user is a half and not the
            // 59.4999999999 the degree arithmetic leaves of it.
            const double rawSeconds = (m - mi) * 60.0;
            double s = roundHalfEven(std::round(rawSeconds * 1.0e6) / 1.0e6);
            if (s >= 60.0) {
                s -= 60.0;
                mi += 1.0;
            }
            if (mi >= 60.0) {
                mi -= 60.0;
                d += 1.0;
            }
            const std::string minSec = formatDecimal(mi, 0, 2) + (fmt == 1 ? "' " : " ") + formatDecimal(s, 0, 2);
            if (fmt == 1) {
                text = formatDecimal(d, 0, 3) + kDegreeText + " " + minSec + "\"";
            } else {
                // The data-file field carries the sign on the degrees. Between
                // -1 and 0 degrees there is no whole degree to carry it, so the
                // field holds "-0": without it the position would move to the
                // other hemisphere when the file is read back.
                std::string degrees;
                if (value < 0 && d == 0.0 && (mi != 0.0 || s != 0.0))
                    degrees = "  -0";
                else
                    degrees = FormatField(value < 0 ? -d : d, 4, 0);
                text = degrees + " " + minSec;
                return latitude ? text.substr(1) : text;
            }
        }
    }
    if (latitude) return (value < 0 ? "S " : "N ") + text.substr(1);
    return (value < 0 ? "E " : "W ") + text;
}

double ParseLatLon(std::string_view text) {
    std::string s(text);
    const auto b = s.find_first_not_of(" \t");
    if (b == std::string::npos) return 0.0;
    s = s.substr(b, s.find_last_not_of(" \t") - b + 1);
    double sign = 1.0;
    const char c = s[0] >= 'a' && s[0] <= 'z' ? static_cast<char>(s[0] - 'a' + 'A') : s[0];
    if (c == '-' || c == 'S' || c == 'E') {
        sign = -1.0;
        s.erase(0, 1);
    } else if (c == 'N' || c == 'W') {
        s.erase(0, 1);
    }
    // Blank, degree sign (one byte, or its UTF-8 lead and trail), minute and second signs.
    static const std::string delimiters = std::string(" '\"") + '\xB0' + '\xC2';
    const double d = Val(NextToken(delimiters, s));
    const double m = Val(NextToken(delimiters, s));
    const double sec = Val(NextToken(delimiters, s));
    return sign * (d + m / 60.0 + sec / 3600.0);
}

double DmsToDegrees(std::string_view degrees, std::string_view minutes, std::string_view seconds) {
    const double d = Val(degrees);
    const auto first = degrees.find_first_not_of(" \t");
    const bool negative = d < 0 || (first != std::string_view::npos && degrees[first] == '-');
    const double g = negative ? -1.0 : 1.0;
    return d + g * (Val(minutes) / 60.0 + Val(seconds) / 3600.0);
}

}  // namespace crv::formats
