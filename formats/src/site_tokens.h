#pragma once
// The tokens of a line split at blanks and tabs, as the site files are read.
#include <string>
#include <string_view>
#include <vector>

namespace crv::formats::detail {

inline std::vector<std::string> blankTokens(std::string_view line) {
    std::vector<std::string> out;
    std::string cur;
    for (char c : line) {
        if (c == ' ' || c == '\t') {
            if (!cur.empty()) out.push_back(std::move(cur));
            cur.clear();
        } else {
            cur.push_back(c);
        }
    }
    if (!cur.empty()) out.push_back(std::move(cur));
    return out;
}

}  // namespace crv::formats::detail
