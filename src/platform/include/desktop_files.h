// Files of the game folder as scripts name them, and CP932, the code page of every script,
// path and message the engine handles.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

// ---------------------------------------------------------------- CP932
// Whether b starts a two-byte character.
bool Cp932_is_lead(unsigned char b);
// Decodes CP932 bytes to UTF-8; a byte that starts no character becomes U+FFFD.
std::string Cp932_to_utf8(const char* bytes, size_t length);
std::string Cp932_to_utf8(const char* text);
// Encodes UTF-8 as CP932; characters CP932 lacks become '?'.
std::string Utf8_to_cp932(const char* text);
// A UTF-8 literal as CP932, converted once and kept for the life of the process.
const char* Sjis(const char* utf8_literal);

// ---------------------------------------------------------------- game-folder files
// A path as scripts write it (".\gdat\bg01.bgh", CP932) as it exists on disk: '\' becomes '/',
// then the exact name, a case-insensitive match, or the name converted to UTF-8. The converted
// path is returned even when nothing matches.
std::string Game_file_path(const char* path);
// The file at such a path opened for reading, binary; null unless it is a regular file (never a
// folder, a device or a pipe, which could block or never end), errno then ENOENT or ENOTDIR when
// nothing is there.
FILE* Game_fopen(const char* path);

// ---------------------------------------------------------------- files written whole
// Writes bytes to path through a temporary file beside it (path + ".XXXXXX", with mode), flushed,
// renamed over path, and the folder flushed: true when all is on disk. On any failure the
// temporary is gone and path is as it was.
bool Write_whole(const std::string& path, const std::string& bytes, unsigned mode = 0600);
