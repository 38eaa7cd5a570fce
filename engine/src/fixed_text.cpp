#include "fixed_text.h"

#include <cstring>

#include "failure.h"

namespace crv::engine {

std::string trimRightCopy(std::string_view text) {
    while (!text.empty() && (text.back() == ' ' || text.back() == '\0')) text.remove_suffix(1);
    return std::string(text);
}

std::string padded(std::string_view text, std::size_t width) {
    std::string out(text.substr(0, width));
    out.resize(width, ' ');
    return out;
}

std::string argumentText(const char* argument, std::size_t width, std::string_view routine, std::string_view what) {
    if (argument == nullptr) fail(routine, "No " + std::string(what) + " was given.");
    // Look a little past the field so an over-long text is seen, not cut.
    const std::size_t length = ::strnlen(argument, 4096);
    std::string text = trimRightCopy(std::string_view(argument, length));
    if (text.size() > width - 1)
        fail(routine, "The " + std::string(what) + " is longer than " + std::to_string(width - 1) +
                          " characters: " + text.substr(0, 60) + "...");
    return text;
}

std::string asFolder(std::string_view folder) {
    std::string out = trimRightCopy(folder);
    if (out.empty()) return "./";
    if (out.back() != '/') out.push_back('/');
    return out;
}

}  // namespace crv::engine
