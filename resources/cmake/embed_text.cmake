# Writes OUTPUT, a C++ source defining crv::resources::detail::SYMBOL as the
# exact bytes of INPUT (no terminating zero counted).
file(READ ${INPUT} _hex HEX)
string(LENGTH "${_hex}" _len)
math(EXPR _bytes "${_len} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "'\\\\x\\1'," _list "${_hex}")
string(REGEX REPLACE "((('\\\\x[0-9a-f][0-9a-f]',)){16})" "\\1\n    " _list "${_list}")
file(WRITE ${OUTPUT}.tmp
"// Generated from ${INPUT}; do not edit.\n#include <cstddef>\n#include <string_view>\n\nnamespace crv::resources::detail {\nnamespace {\nconstexpr char kBytes[] = {\n    ${_list}'\\0'};\n}\nextern const std::string_view ${SYMBOL}(kBytes, ${_bytes});\n}  // namespace crv::resources::detail\n")
file(RENAME ${OUTPUT}.tmp ${OUTPUT})
