# Writes the compiled resources as a C++ byte array for the Linux host.
file(READ ${INPUT} hex HEX)
string(LENGTH "${hex}" hexLength)
math(EXPR size "${hexLength} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "(0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,)" "\\1\n" bytes "${bytes}")
file(WRITE ${OUTPUT} "// Generated from the resource script; do not edit.\n#include <cstddef>\n\n"
    "extern const unsigned char g_levrinResources[];\nextern const std::size_t g_levrinResourcesSize;\n\n"
    "const unsigned char g_levrinResources[] = {\n${bytes}\n};\n"
    "const std::size_t g_levrinResourcesSize = ${size};\n")
