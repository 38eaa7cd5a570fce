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
}  // namespace crv::common::ui
