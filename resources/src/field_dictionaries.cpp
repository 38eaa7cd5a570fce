#include "crv/resources/field_dictionaries.h"

namespace crv::resources {
namespace detail {
extern const std::string_view fieldDictionary_fld;
extern const std::string_view fieldDictionary_sci;
}  // namespace detail

std::string_view fieldDictionaryText(Edition edition) {
    return edition == Edition::Scientific ? detail::fieldDictionary_sci : detail::fieldDictionary_fld;
}

}  // namespace crv::resources
