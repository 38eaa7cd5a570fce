#include "crv/common/case_file_upgrade.h"

#include "crv/common/conversions.h"
#include "crv/common/data_file_read.h"
#include "crv/common/file_system.h"
#include "crv/common/text_utils.h"
#include "crv/platform/numbers.h"
#include "crv/platform/text_file.h"

namespace crv::common {

using crv::platform::Expected;
using crv::platform::makeError;

namespace {

// Columns first..last (1-based) of a line, blank-padded where the line is
// shorter: the layouts are fixed columns, and a line whose trailing blanks
// were trimmed must not shift the fields behind it.
std::string cols(std::string_view line, int first, int last) {
    std::string out = Mid(line, first, last - first + 1);
    out.resize(static_cast<std::size_t>(last - first + 1), ' ');
    return out;
}

// Replaces columns first..last by `text`, padding the line when needed.
void putCols(std::string& line, int first, int last, const std::string& text) {
    if (line.size() < static_cast<std::size_t>(last)) line.resize(static_cast<std::size_t>(last), ' ');
    line.replace(static_cast<std::size_t>(first - 1), static_cast<std::size_t>(last - first + 1), text);
}

bool isTerminator(std::string_view line, std::string_view mark) {
    return Mid(line, 2).compare(0, mark.size(), mark) == 0 && line.size() >= 1 + mark.size();
}

// Index of the terminator line at or after `from`, or lines.size().
std::size_t findTerminator(const std::vector<std::string>& lines, std::size_t from, std::string_view mark) {
    for (std::size_t i = from; i < lines.size(); ++i)
        if (isTerminator(lines[i], mark)) return i;
    return lines.size();
}

std::string field(double value, int width) { return FormatField(value, width, 0); }

}  // namespace

int GetFileVersion(std::string_view firstLine) {
    const std::string line(crv::platform::trimBlanks(firstLine));
    const auto at = upperAscii(line).find("CRV VERSION");
    if (at == std::string::npos) return -1;
    // The layout is told by the last number of the version: "5.0.6" is current.
    const std::string version(crv::platform::trimBlanks(std::string_view(line).substr(at + 11)));
    const auto dot = version.rfind('.');
    const double last = Val(dot == std::string::npos ? version : version.substr(dot + 1));
    const double rounded = roundHalfEven(last);
    if (rounded >= 2) return 2;
    if (rounded <= 0) return 0;
    return 1;
}

Expected<std::vector<std::string>> upgradeCaseLines(const std::vector<std::string>& lines, int version) {
    if (version < -1 || version > 1)
        return makeError("Unknown case data file version " + std::to_string(version) + ".");
    const bool oldest = version == -1;
    const std::string mark = oldest ? "999" : "$$$$";
    const std::size_t navaidIndex = oldest ? 0 : 1;
    if (lines.size() <= navaidIndex) return makeError("The case data file has no navaid line.");
    const std::size_t terminator = findTerminator(lines, navaidIndex + 1, mark);
    if (terminator >= lines.size())
        return makeError("The case data file has no end line \"" + mark + "\" after its RF sources.");
    if (terminator + 1 >= lines.size()) return makeError("The case data file has no options line.");
    if (terminator + 2 >= lines.size()) return makeError("The case data file has no case line.");

    std::vector<std::string> out;
    out.emplace_back(kCurrentVersionText);

    // Navaid line.
    std::string navaid = lines[navaidIndex];
    std::string kept;  // oldest layout: columns 71-73 move to the case line
    if (oldest) {
        const std::string& old = lines[navaidIndex];
        navaid = cols(old, 1, 4) + cols(old, 6, 9) + FormatField(Val(cols(old, 11, 17)), 8, 3) + cols(old, 18, 50) +
                 cols(old, 57, 60) + cols(old, 51, 56) + cols(old, 61, 70);
        kept = cols(old, 71, 73);
    }
    if (version <= 0) {
        double a = Val(cols(navaid, 55, 56));
        if (oldest && a >= 29) a += 1;
        if (a >= 33)
            a += 3;
        else if (a >= 30)
            a += 2;
        putCols(navaid, 55, 56, field(a, 2));
    }
    double s = Val(cols(navaid, 58, 59));
    if (version <= 0 && s >= 4) s += 1;
    if (s == 9) s = 8;
    putCols(navaid, 58, 59, field(s, 2));
    out.push_back(navaid);

    // RF-source lines.
    for (std::size_t i = navaidIndex + 1; i < terminator; ++i) {
        const std::string& old = lines[i];
        std::string line = old;
        if (oldest) {
            line = cols(old, 5, 10) + FormatField(Val(cols(old, 11, 17)), 10, 3) + cols(old, 18, 38) +
                   FormatField(Val(cols(old, 40, 44)), 9, 4) + cols(old, 45, 67) + "     0";
            const std::string element = cols(line, 54, 55);
            if (element == "57")
                putCols(line, 54, 55, "56");
            else if (element == "58")
                putCols(line, 54, 55, "57");
            else if (element == "56")
                putCols(line, 54, 55, "58");
        } else if (version == 0) {
            line = Mid(old, 1, 6);
            line.resize(6, ' ');
            line += "  " + Mid(old, 7);
        }
        out.push_back(line);
    }
    out.emplace_back(" $$$$");

    // Options line.
    const std::string& oldOptions = lines[terminator + 1];
    std::string options = oldOptions;
    if (oldest) {
        options = cols(oldOptions, 1, 4) + cols(oldOptions, 14, 15) + cols(oldOptions, 29, 38) +
                  cols(oldOptions, 16, 17) + cols(oldOptions, 4, 13) + cols(oldOptions, 20, 28) +
                  field(2 - Val(cols(oldOptions, 19, 19)), 3) + field(2 - Val(cols(oldOptions, 40, 40)), 3);
        const std::string code = cols(options, 17, 18);
        if (code == " 3")
            putCols(options, 17, 18, " 1");
        else if (code == " 4")
            putCols(options, 17, 18, " 3");
    }
    if (cols(options, 2, 3) == " 0") putCols(options, 2, 3, " 1");
    for (int first : {8, 11, 14}) {
        const double code = Val(cols(options, first, first + 1));
        if (code > 2) putCols(options, first, first + 1, field(code - 1, 2));
    }
    out.push_back(options);

    // Case line.
    const std::string& caseLine = lines[terminator + 2];
    out.push_back(oldest ? cols(caseLine, 1, 51) + kept : caseLine);

    // Option-text lines: the oldest layout held them in another order and
    // carried two the current layout does not have.
    std::vector<std::string> rest(lines.begin() + static_cast<long>(terminator) + 3, lines.end());
    if (!oldest) {
        out.insert(out.end(), rest.begin(), rest.end());
    } else {
        for (std::size_t n = 1; n <= rest.size(); ++n) {
            if (n == 5 || n == 6 || n >= 10) continue;
            out.push_back(rest[n - 1]);
        }
        if (rest.size() >= 5) out.push_back(rest[4]);
    }
    return out;
}

std::string backupName(std::string_view path) {
    const auto slash = path.rfind('/');
    const auto dot = path.rfind('.');
    if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash))
        return std::string(path) + "_old";
    return std::string(path.substr(0, dot)) + "_old" + std::string(path.substr(dot));
}

Expected<void> UpgradeDataFile(const std::string& path, int version) {
    if (version == 2) return {};
    // Read once: the lines converted are exactly the bytes kept as the backup.
    auto original = crv::platform::readRegularFile(path, kCaseFileMaxBytes);
    if (!original) return makeError(original.error());
    const std::vector<std::string> lines = splitLines(*original);
    auto upgraded = upgradeCaseLines(lines, version);
    if (!upgraded) return makeError(path + ": " + upgraded.error());

    // Keep an earlier backup: it may be the only copy of an older original.
    std::string backup = backupName(path);
    for (int n = 2; FileExists(backup); ++n) {
        if (n > 99) return makeError("No free backup name beside " + path + ".");
        const std::string base = backupName(path);
        const auto dot = base.rfind('.');
        const auto slash = base.rfind('/');
        if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
            backup = base + std::to_string(n);
        else
            backup = base.substr(0, dot) + std::to_string(n) + base.substr(dot);
    }
    if (auto saved = crv::platform::writeFileAtomic(backup, *original); !saved) return saved;
    return crv::platform::writeTextLinesAtomic(path, *upgraded);
}

}  // namespace crv::common
