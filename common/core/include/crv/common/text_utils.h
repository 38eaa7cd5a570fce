#pragma once
// Text helpers of both programs: fixed-width number fields for the column
// files, token splitting and folder-path endings. Folders end in "/"; the
// names AddBackslash and RemoveBackslash are kept so one search finds the
// helper wherever the programs use it.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "crv/formats/numbers.h"

namespace crv::common {

// The fixed number fields and the field splitting of the data files belong
// to the formats layer; the programs keep calling them by these names.
using crv::formats::FormatField;
using crv::formats::NextToken;
using crv::formats::SplitFields;

// 1-based position of the last occurrence of `search`; 0 when there is none or
// `search` is empty.
int LastPos(std::string_view text, std::string_view search);

// Folder endings: AddBackslash appends "/" unless the path already ends in one
// ("" gives "/"); RemoveBackslash drops one trailing "/".
std::string AddBackslash(std::string_view path);
std::string RemoveBackslash(std::string_view path);

// The width of a text as the window measures it (twips, pixels: any unit).
using TextMeasure = std::function<double(std::string_view)>;

// A path that fits `maxWidth`: unchanged when it fits; else the folder part is
// cut and "..." put before the last "/" and the name, keeping as much of the
// start as fits; when even that does not fit, the text is cut at the end and
// "..." appended.
std::string ShortenPath(const TextMeasure& measure, std::string_view path, double maxWidth);

// Letter case aside (ASCII), as file names are compared when reading.
char upperAscii(char c);
std::string upperAscii(std::string_view text);
bool equalsNoCase(std::string_view a, std::string_view b);
bool containsNoCase(std::string_view text, std::string_view part);
bool startsWithNoCase(std::string_view text, std::string_view prefix);

}  // namespace crv::common
