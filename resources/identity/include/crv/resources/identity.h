#pragma once
// The identity strings of each edition: what the About box, the settings key
// and the window title show. The edition code itself is entry 16 of the
// edition's field dictionary.
#include <string>
#include <string_view>

#include "crv/resources/field_dictionaries.h"

namespace crv::resources {

struct Identity {
    std::string title;            // the program's name: "CRV" or "CRV_Sci"
    std::string fileDescription;  // "Corvane" or "Corvane (Scientific)"
    std::string version;          // major.minor.revision
    std::string comments;         // the build date text
    std::string company;
    std::string product;
    std::string caption;          // the main window's caption
};

// The raw text of the edition's identity file.
std::string_view identityText(Edition edition);

// Parses "name=value" lines ('#' comments, unknown names ignored). Throws
// std::runtime_error naming the line of a line without "=".
Identity parseIdentity(std::string_view text);

Identity identityOf(Edition edition);

}  // namespace crv::resources
