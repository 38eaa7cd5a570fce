#include "crv/formats/user_data_file.h"

#include <cmath>

#include "crv/formats/numbers.h"
#include "site_tokens.h"

namespace crv::formats {

namespace {

using detail::blankTokens;

const UserDataKind kKinds[] = {
    {1, "FM Horizontal", "FmHor01.pat", "FmHorxx.pat, where xx = 01-25", "  Azimuth  \rAngle", 0, 10, 37, 35, 14, 3, 0,
     "Relative\rMagnitude", 6, 2, 0, 100, 33},
    {2, "FM Vertical", "FmVrt1.pat", "FmVrtx.pat, where x = 1-6", " Elevation \rAngle", 0, 2.5, 37, 36, 14, 4, 1,
     "Relative\rMagnitude", 6, 2, 0, 100, 33},
    {3, "Localizer Horizontal", "LocHor.pat", "LocHor.pat", "  Azimuth  \rAngle", 0, 5, 37, 36, 14, 3, 0,
     "Relative\rMagnitude", 6, 2, 0, 100, 32},
    {4, "Antenna Rejection", "Antenna.cal", "Antenna.cal", "Frequency\r(MHz)", 88, 1, 49, 48, 14, 3, 0,
     "    Loss    \r(dB)", 4, 1, 0, 99.9, 34},
    {5, "Receiver Thresholds", "Receiver.cal", "Receiver.cal", "  Navaid  \rLevel\r(dBm)", -101, 5, 11, 10, 11, 4, 0,
     "Interference\rThreshold\r(dBm)", 6, 1, -210, 60, 35},
};

// A value read from a file may differ from the cell's limit in the last
// written decimal only.
constexpr double kSlack = 1e-9;

double token(const std::vector<std::string>& tokens, std::size_t i) {
    return i < tokens.size() ? Val(tokens[i]) : 0.0;
}

std::string wholeField(int n) { return " " + std::to_string(n) + " "; }

}  // namespace

const UserDataKind& userDataKind(int kind) { return kKinds[kind >= 1 && kind <= 5 ? kind - 1 : 0]; }

double RelToDb(double percent) { return percent > 0.0001 ? 20.0 * std::log10(percent / 100.0) : -99.99; }

double DbToRel(double db) { return db <= -99.99 ? 0.0 : 100.0 * std::pow(10.0, db / 20.0); }

double shownDb(double percent) { return std::max(RelToDb(percent), -99.99); }

ValueCell valueCell(int kind, int scale) {
    const UserDataKind& k = userDataKind(kind);
    if (isPatternKind(k.kind) && scale == 1) return {6, 2, -99.99, 0};
    return {k.valueWidth, k.valueDecimals, k.valueMin, k.valueMax};
}

void setFixedX(UserData& data) {
    const UserDataKind& k = userDataKind(data.kind);
    data.kind = k.kind;
    data.x.resize(static_cast<std::size_t>(k.points));
    data.values.resize(static_cast<std::size_t>(k.points), 0.0);
    for (int i = 0; i < k.points; ++i) data.x[static_cast<std::size_t>(i)] = k.xStart + i * k.xStep;
}

UserData newUserData(int kind) {
    UserData d;
    d.kind = userDataKind(kind).kind;
    setFixedX(d);
    return d;
}

void NormalizePattern(UserData& data) {
    double largest = 0;
    for (double v : data.values)
        if (v > largest) largest = v;
    if (largest == 0) return;
    for (double& v : data.values) v *= 100.0 / largest;
}

std::string writeUserDataFile(const UserData& data) {
    const UserDataKind& k = userDataKind(data.kind);
    const bool pattern = isPatternKind(k.kind);
    std::string out = leftSet(data.description, 25) + "\r\n";
    if (pattern)
        out += wholeField(k.kind) + "  " + wholeField(data.scale) + "  " + FormatField(data.gain, 4, 1) + "\r\n";
    else
        out += wholeField(k.kind) + "\r\n";
    for (int i = 0; i < k.points; ++i) {
        const auto at = static_cast<std::size_t>(i);
        const double x = at < data.x.size() ? data.x[at] : k.xStart + i * k.xStep;
        const double v = at < data.values.size() ? data.values[at] : 0.0;
        std::string value;
        if (pattern) value = FormatField(data.scale == 1 ? RelToDb(v) : v, 8, 3);
        else value = FormatField(v, k.kind == 4 ? 6 : 8, 2);
        out += FormatField(x, 6, 2) + std::string(10, ' ') + value + "\r\n";
    }
    return out;
}

std::vector<std::string> textLines(std::string_view text) {
    std::vector<std::string> lines;
    std::string cur;
    for (char c : text) {
        if (c == '\n') {
            if (!cur.empty() && cur.back() == '\r') cur.pop_back();
            lines.push_back(std::move(cur));
            cur.clear();
        } else {
            cur.push_back(c);
        }
    }
    if (!cur.empty()) {
        if (cur.back() == '\r') cur.pop_back();
        lines.push_back(std::move(cur));
    }
    return lines;
}

UserDataRead readUserDataFile(std::string_view text, bool patternMode) {
    const std::vector<std::string> lines = textLines(text);
    UserDataRead r;
    UserData& d = r.data;
    d.description = leftSet(lines.empty() ? std::string() : Mid(lines[0], 1, 25), 25);
    const auto head = blankTokens(lines.size() > 1 ? lines[1] : std::string());
    // Compared as read: a kind such as 1e308 is no kind, not an int overflow.
    const double kindRead = token(head, 0);
    const int kind = kindRead >= 0 && kindRead < 6 ? static_cast<int>(kindRead) : 0;
    if (patternMode) {
        d.kind = isPatternKind(kind) ? kind : 1;
        const double scale = token(head, 1);
        d.scale = scale == 1 ? 1 : 0;
        d.gain = token(head, 2);
        if (!std::isfinite(d.gain) || std::fabs(d.gain) > 99.9 + kSlack) {
            r.badCount = 1;
            r.firstBadLine = 2;
            r.firstBadValue = head.size() > 2 ? head[2] : std::string();
            d.gain = 0;
        }
    } else {
        d.kind = kind == 4 || kind == 5 ? kind : 4;
    }
    setFixedX(d);
    const ValueCell cell = valueCell(d.kind, 0);
    r.invalid.assign(d.values.size(), false);
    for (std::size_t i = 2; i < lines.size(); ++i) {
        const std::size_t point = i - 2;
        if (point >= d.values.size()) {
            if (!blankTokens(lines[i]).empty()) ++r.extraLines;
            continue;
        }
        const auto tokens = blankTokens(lines[i]);
        double v = token(tokens, 1);
        if (isPatternKind(d.kind) && d.scale == 1) v = DbToRel(v);
        d.values[point] = v;
        if (!std::isfinite(v) || v < cell.min - kSlack || v > cell.max + kSlack) {
            r.invalid[point] = true;
            if (r.badCount++ == 0) {
                r.firstBadLine = static_cast<int>(i) + 1;
                r.firstBadValue = tokens.size() > 1 ? tokens[1] : std::string();
            }
        }
    }
    return r;
}

}  // namespace crv::formats
