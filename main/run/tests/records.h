#pragma once
// Fixed-column records for the tests, written column by column.
#include <string>

namespace crv::main::run::test {

inline void put(std::string& line, int column, const std::string& text) {
    const std::size_t end = static_cast<std::size_t>(column - 1) + text.size();
    if (line.size() < end) line.resize(end, ' ');
    line.replace(static_cast<std::size_t>(column - 1), text.size(), text);
}

inline std::string right(const std::string& text, std::size_t width) {
    return text.size() >= width ? text : std::string(width - text.size(), ' ') + text;
}

// A navaid record of 72 columns (the back-course flag in 71-72).
inline std::string navaidRecord(const std::string& id, const std::string& course, const std::string& freq,
                                const std::string& lat, const std::string& lon, int svType, int radius = 0,
                                int height = 0, int backCourse = 0) {
    std::string r(72, ' ');
    put(r, 2, id);
    put(r, 6, right(course, 3));
    put(r, 10, right(freq, 7));
    put(r, 18, right(lat, 9));
    put(r, 28, right(lon, 10));
    put(r, 39, right("100", 5));
    put(r, 45, right("0", 5));
    put(r, 51, right("15", 3));
    put(r, 55, right("0", 2));
    put(r, 58, right(std::to_string(svType), 2));
    put(r, 61, right(std::to_string(radius), 3));
    put(r, 65, right(std::to_string(height), 5));
    put(r, 71, right(std::to_string(backCourse), 2));
    return r;
}

// A proponent record of 52 columns.
inline std::string proponentRecord(const std::string& call, const std::string& freq, const std::string& lat,
                                   const std::string& lon) {
    std::string r(52, ' ');
    put(r, 2, call);
    put(r, 10, right(freq, 7));
    put(r, 18, right(lat, 9));
    put(r, 28, right(lon, 10));
    put(r, 39, "  0.0000     0");
    return r;
}

// An RF-source result line of 75 columns, as the FM search writes it.
inline std::string sourceLine(const std::string& call, const std::string& freq, const std::string& lat,
                              const std::string& lon, const std::string& licence, int status = 0) {
    std::string r(75, ' ');
    put(r, 2, call);
    put(r, 10, right(freq, 7));
    put(r, 18, right(lat, 9));
    put(r, 28, right(lon, 10));
    put(r, 39, right("3.0000", 8));
    put(r, 48, right("300", 5));
    put(r, 54, " 1");
    put(r, 57, " 1");
    put(r, 60, "  0");
    put(r, 64, right(std::to_string(status), 2));
    put(r, 67, licence);
    put(r, 71, right("0", 5));
    return r;
}

}  // namespace crv::main::run::test
