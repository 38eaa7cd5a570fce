#include "crv/resources/identity.h"

#include <stdexcept>

namespace crv::resources {
namespace detail {
extern const std::string_view identity_fld;
extern const std::string_view identity_sci;
}  // namespace detail

std::string_view identityText(Edition edition) {
    return edition == Edition::Scientific ? detail::identity_sci : detail::identity_fld;
}

Identity parseIdentity(std::string_view text) {
    Identity id;
    int lineNo = 0;
    while (!text.empty()) {
        const auto end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        ++lineNo;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.empty() || line.front() == '#') continue;
        const auto eq = line.find('=');
        if (eq == std::string_view::npos)
            throw std::runtime_error("identity line " + std::to_string(lineNo) + " has no \"=\"");
        const std::string_view name = line.substr(0, eq);
        std::string value(line.substr(eq + 1));  // leading blanks are part of the value
        if (name == "title") id.title = value;
        else if (name == "file_description") id.fileDescription = value;
        else if (name == "version") id.version = value;
        else if (name == "comments") id.comments = value;
        else if (name == "company") id.company = value;
        else if (name == "product") id.product = value;
        else if (name == "caption") id.caption = value;
    }
    return id;
}

Identity identityOf(Edition edition) { return parseIdentity(identityText(edition)); }

}  // namespace crv::resources
