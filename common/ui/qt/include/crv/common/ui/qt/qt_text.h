#pragma once
// Texts cross between the logic and the windows here. The logic's texts are
// Windows-1252 bytes (data files, settings, messages); Qt's are Unicode.
#include <string>
#include <string_view>

#include <QString>

namespace crv::common::ui {
QString toQt(std::string_view text);
// Characters Windows-1252 cannot hold become "?".
std::string fromQt(const QString& text);

// File and folder names are the system's (UTF-8), not Windows-1252: a path
// shown, or handed back to the logic, goes through these.
QString pathToQt(std::string_view path);
std::string pathFromQt(const QString& path);

// For display only: a text of the logic that may hold a file name (a caption,
// a message, a progress line). Each well-formed multi-byte UTF-8 sequence is
// a character of a name; every other byte is Windows-1252. Never converted back.
QString displayToQt(std::string_view text);
}  // namespace crv::common::ui
