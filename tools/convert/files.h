// The converter's files: the input read whole, and the output written whole or not at all.
#pragma once

#include <string>

// The whole of the file name, or of standard input for "-": false when it cannot be read (a folder).
bool Read_input(const std::string& name, std::string* bytes);
// Puts bytes in the file path. A regular file, or a new one, is replaced only once they are on disk:
// a temporary file beside it (PATH.XXXXXX) with its permissions, flushed and renamed over it, so that
// a full disk leaves the old file as it was, even when it is the input. A pipe or a device is
// written as it is. False when the bytes are not all written.
bool Write_output(const std::string& path, const std::string& bytes);
