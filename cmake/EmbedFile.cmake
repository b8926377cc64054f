# cmake -DINPUT=<file> -DOUTPUT=<source> -DSYMBOL=<name> -P EmbedFile.cmake
# Writes a C++ source defining `const unsigned char SYMBOL[]` with the bytes of INPUT, followed by
# one zero byte that SYMBOL_size does not count, and `const std::size_t SYMBOL_size`.
file(READ "${INPUT}" hex HEX)
string(LENGTH "${hex}" digits)
math(EXPR size "${digits} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "((0x[0-9a-f][0-9a-f],){20})" "\\1\n" bytes "${bytes}")
file(WRITE "${OUTPUT}.tmp" "// Generated from ${INPUT}; do not edit.
#include <cstddef>

alignas(16) extern const unsigned char ${SYMBOL}[] = {
${bytes}
0x00};
extern const std::size_t ${SYMBOL}_size = ${size};
")
file(RENAME "${OUTPUT}.tmp" "${OUTPUT}")
