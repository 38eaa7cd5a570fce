#pragma once
// The field dictionary text of each edition, compiled into the program.
// Format: one entry a line, "ID \"TEXT\"", with \n, \" and \\ escapes;
// lines starting with '#' are comments. Parsed by crv::editors::FieldDictionary.
#include <string_view>

namespace crv::resources {

enum class Edition { Field, Scientific };

// The raw Windows-1252 text of the edition's dictionary file.
std::string_view fieldDictionaryText(Edition edition);

}  // namespace crv::resources
