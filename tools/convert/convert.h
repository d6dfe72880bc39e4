// Script conversion for authors: UTF-8 with LF, as they write it, to and from CP932 with CR LF, as the
// engine reads it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// The faults told one by one: the rest are only counted, so that a file of nothing but faults costs
// no more memory than a good one.
constexpr size_t ERRORS_TOLD = 100;

struct Convert_result {
    std::string output;              // empty when there are errors
    std::vector<std::string> errors; // "NAME:LINE:COLUMN: message", one per fault, the first ERRORS_TOLD
    size_t errors_untold = 0;        // the faults after those
};

// UTF-8 (LF, CR LF or CR; a leading BOM dropped) to CP932 with CR LF. NAME only labels the errors.
Convert_result To_cp932(std::string_view utf8, std::string_view name);
// CP932 (CR LF or LF) to UTF-8 with LF.
Convert_result To_utf8(std::string_view cp932, std::string_view name);
// Whether the bytes are well-formed UTF-8 throughout.
bool Is_utf8(std::string_view bytes);
// The character CP932 has in place of a Unicode look-alike, or CP itself.
char32_t Cp932_lookalike(char32_t cp);
// The UTF-8 text with only what CP932 can hold: look-alikes in place of their twins; characters it
// lacks, control characters and bytes that are not UTF-8 dropped.
std::string Cp932_only(std::string_view utf8);
