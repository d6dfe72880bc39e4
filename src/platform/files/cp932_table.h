// The CP932 code page as tables of our own, written at build time by veltrane-cp932-table from the
// C library's converter, so that every platform reads and writes CP932 as the desktop's does.
#pragma once

#include <cstddef>
#include <cstdint>

// No character (reading), or no form (writing).
constexpr char16_t CP932_NONE = 0xFFFF;
// Written as nothing, as the language tags are.
constexpr char16_t CP932_NOTHING = 0xFFFE;

// What each byte reads as on its own.
extern const char16_t CP932_SINGLE[256];

// The bytes that lead a pair.
constexpr bool Cp932_lead_byte(unsigned b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

// What each lead and trail pair reads as: a row of trails 0x40 to 0xFC for each lead byte, in
// increasing order.
constexpr int CP932_LEADS = 60;
constexpr unsigned CP932_FIRST_TRAIL = 0x40, CP932_LAST_TRAIL = 0xFC;
constexpr int CP932_TRAILS = CP932_LAST_TRAIL - CP932_FIRST_TRAIL + 1;
extern const char16_t CP932_DOUBLE[CP932_LEADS * CP932_TRAILS];

// How each character is written: one byte, lead << 8 | trail, CP932_NONE or CP932_NOTHING. In pages
// of 256 code points, CP932_PAGES[CP932_PAGE_OF[cp >> 8]][cp & 0xFF]; page 0 has no forms at all,
// and stands for every page without one.
constexpr char32_t CP932_LAST_CHAR = 0x10FFFF;
extern const uint8_t CP932_PAGE_OF[(CP932_LAST_CHAR >> 8) + 1];
extern const char16_t CP932_PAGES[][256];

// The row of CP932_DOUBLE for a lead byte.
constexpr int Cp932_lead_row(unsigned lead) {
    return lead <= 0x9F ? (int)lead - 0x81 : (int)lead - 0xE0 + 31;
}
