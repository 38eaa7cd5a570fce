#include "crv/formats/rcvr_points_file.h"

#include <cctype>
#include <cmath>

#include "crv/formats/lat_lon.h"
#include "crv/formats/numbers.h"
#include "site_tokens.h"
#include "crv/formats/user_data_file.h"

namespace crv::formats {

namespace {

using detail::blankTokens;

bool beginsWithNumber(const std::string& t) {
    std::size_t i = 0;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
    if (i < t.size() && t[i] == '.') ++i;
    return i < t.size() && std::isdigit(static_cast<unsigned char>(t[i]));
}

std::string tok(const std::vector<std::string>& t, std::size_t i) { return i < t.size() ? t[i] : std::string(); }

// A latitude (kind 1) or longitude as the grid shows it in notation 1 or 3,
// its hemisphere letter and signs dropped; south and east put "-" in place of
// the leading blank. The letter decides the sign, so a position under a
// degree from the equator or Greenwich keeps it.
std::string angleField(double value, int kind, int format) {
    const std::string shown = FormatLatLon(value, kind, format);
    if (shown.empty()) return shown;
    const bool negative = shown[0] == 'S' || shown[0] == 'E';
    std::string field;
    for (std::size_t i = 1; i < shown.size(); ++i) {
        const char c = shown[i];
        if (c == kDegreeSign || c == '\'' || c == '"') continue;
        field.push_back(c);
    }
    if (negative && !field.empty() && field[0] == ' ') field[0] = '-';
    return field;
}

}  // namespace

std::size_t listLength(const std::vector<RcvrPoint>& points) {
    std::size_t n = 0;
    while (n < points.size() && n < static_cast<std::size_t>(kMaxRcvrPoints) && !points[n].isEnd()) ++n;
    return n;
}

int firstPointAfterEnd(const std::vector<RcvrPoint>& points) {
    for (std::size_t i = listLength(points); i < points.size(); ++i)
        if (!points[i].isEnd()) return static_cast<int>(i);
    return -1;
}

std::string formatPointLine(const RcvrPoint& p, int format) {
    std::string a, b;
    switch (format) {
        case 0:
            a = FormatField(p.first, 6, 3);
            // Six columns: a bearing from -180 to 180 with its decimal needs them
            // (five would cut "-179.5" to "-179.").
            b = FormatField(p.second, 6, 1);
            break;
        case 2:
            a = FormatField(p.first, 8, 4);
            b = FormatField(p.second, 9, 4);
            break;
        default:
            a = angleField(p.first, 1, format == 3 ? 3 : 1);
            b = angleField(p.second, 2, format == 3 ? 3 : 1);
            break;
    }
    return a + "  " + b + "  " + FormatField(p.elevationFt, 5, 0);
}

std::string writeRcvrPointsFile(const RcvrPoints& data) {
    const int format = data.format >= 0 && data.format <= 3 ? data.format : 1;
    std::string out = leftSet(data.description, 25) + "\r\n";
    out += " " + std::to_string(format) + " \r\n";
    const std::size_t n = listLength(data.points);
    for (std::size_t i = 0; i < n; ++i) out += formatPointLine(data.points[i], format) + "\r\n";
    return out;
}

bool pointValueValid(double v, int column, int format) {
    if (!std::isfinite(v)) return false;
    switch (column) {
        case 1: return format == 0 ? v >= 0 && v <= 99.999 : std::fabs(v) <= 90;
        case 2: return format == 0 ? v >= -180 && v <= 180 : std::fabs(v) <= 180;
        default: return v >= -999 && v <= 99999;
    }
}

RcvrPointsRead ReadPoints(const std::vector<std::string>& lines, std::size_t firstLine, int format) {
    RcvrPointsRead r;
    for (std::size_t i = firstLine; i < lines.size(); ++i) {
        const auto t = blankTokens(lines[i]);
        bool number = false;
        for (const auto& s : t) number = number || beginsWithNumber(s);
        if (!number) {
            ++r.skippedLines;
            continue;
        }
        if (r.points.size() >= static_cast<std::size_t>(kMaxRcvrPoints)) {
            ++r.extraLines;
            continue;
        }
        RcvrPoint p;
        switch (format) {
            case 1:
                p.first = DmsToDegrees(tok(t, 0), tok(t, 1), tok(t, 2));
                p.second = DmsToDegrees(tok(t, 3), tok(t, 4), tok(t, 5));
                p.elevationFt = Val(tok(t, 6));
                break;
            case 3:
                p.first = DmsToDegrees(tok(t, 0), tok(t, 1), "0");
                p.second = DmsToDegrees(tok(t, 2), tok(t, 3), "0");
                p.elevationFt = Val(tok(t, 4));
                break;
            default:
                p.first = Val(tok(t, 0));
                p.second = Val(tok(t, 1));
                p.elevationFt = Val(tok(t, 2));
                break;
        }
        const bool ok = pointValueValid(p.first, 1, format) && pointValueValid(p.second, 2, format) &&
                        pointValueValid(p.elevationFt, 3, format);
        r.invalid.push_back(!ok);
        if (!ok && r.badCount++ == 0) {
            r.firstBadLine = static_cast<int>(i) + 1;
            for (const auto& s : t) r.firstBadText += (r.firstBadText.empty() ? "" : " ") + s;
        }
        r.points.push_back(p);
    }
    return r;
}

RcvrPointsFileRead readRcvrPointsFile(std::string_view text) {
    const std::vector<std::string> lines = textLines(text);
    RcvrPointsFileRead f;
    f.data.description = leftSet(lines.empty() ? std::string() : Mid(lines[0], 1, 25), 25);
    const auto head = blankTokens(lines.size() > 1 ? lines[1] : std::string());
    const double code = head.empty() ? 1 : Val(head[0]);
    f.data.format = code == 0 || code == 1 || code == 2 || code == 3 ? static_cast<int>(code) : 1;
    f.read = ReadPoints(lines, 2, f.data.format);
    f.data.points = f.read.points;
    return f;
}

}  // namespace crv::formats
