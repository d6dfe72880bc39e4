# Writes a C++ header that holds a file's bytes as an array: cmake -DIN=file -DOUT=header -DNAME=symbol -P embed.cmake
file(READ "${IN}" hex HEX)
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "(0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,)" "\\1\n" bytes "${bytes}")
file(WRITE "${OUT}" "// Generated from ${IN}; do not edit.\n#pragma once\nstatic const unsigned char ${NAME}[] = {\n${bytes}};\n")
