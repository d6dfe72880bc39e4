// veltrane-cp932-table OUT: writes the tables of files/cp932_table.h as C++ source, read off the C
// library's iconv: what every byte and every lead and trail pair decode to, and the bytes its
// encoder writes for every code point. Runs on the build machine; exits 1, writing nothing, when
// iconv has no CP932 or reads it in a way the tables cannot hold.
#include "files/cp932_table.h"

#include <iconv.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

[[noreturn]] void Die(const char* what, unsigned value) {
    std::fprintf(stderr, "veltrane-cp932-table: %s (0x%X)\n", what, value);
    std::exit(1);
}

// One conversion: false unless iconv takes all of in.
bool Convert(iconv_t cd, const std::string& in, std::string* out) {
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    char buf[16];
    char* src = const_cast<char*>(in.data());
    char* dst = buf;
    size_t src_left = in.size(), dst_left = sizeof buf;
    bool whole = iconv(cd, &src, &src_left, &dst, &dst_left) != (size_t)-1 && src_left == 0;
    out->assign(buf, dst);
    return whole;
}

// The one character that bytes decode to, or CP932_NONE.
char16_t Decode(iconv_t cd, const std::string& bytes, unsigned code) {
    std::string out;
    if (!Convert(cd, bytes, &out)) return CP932_NONE;
    if (out.size() != 4) Die("a code decodes to other than one character", code);
    uint32_t cp = (unsigned char)out[0] | (unsigned char)out[1] << 8 | (unsigned char)out[2] << 16 |
                  (uint32_t)(unsigned char)out[3] << 24;
    if (cp >= CP932_NONE) Die("a code decodes past U+FFFE", code);
    return (char16_t)cp;
}

struct Tables {
    std::vector<char16_t> single, pairs;
    std::vector<uint8_t> page_of;
    std::vector<char16_t> pages = std::vector<char16_t>(256, CP932_NONE); // page 0, empty
};

void Read_decoder(iconv_t cd, Tables* t) {
    for (unsigned b = 0; b < 256; b++) {
        t->single.push_back(Decode(cd, std::string(1, (char)b), b));
        if (Cp932_lead_byte(b) && t->single.back() != CP932_NONE) Die("a lead byte decodes alone", b);
    }
    for (unsigned lead = 0; lead < 256; lead++) {
        for (unsigned trail = 0; trail < 256 && Cp932_lead_byte(lead); trail++) {
            char16_t cp = Decode(cd, {(char)lead, (char)trail}, lead << 8 | trail);
            if (trail >= CP932_FIRST_TRAIL && trail <= CP932_LAST_TRAIL)
                t->pairs.push_back(cp);
            else if (cp != CP932_NONE)
                Die("a pair decodes with a trail byte out of range", lead << 8 | trail);
        }
    }
}

// The form iconv's encoder writes cp in.
char16_t Encode(iconv_t cd, char32_t cp) {
    std::string in = {(char)(cp & 0xFF), (char)(cp >> 8 & 0xFF), (char)(cp >> 16), 0}, out;
    if ((cp >= 0xD800 && cp <= 0xDFFF) || !Convert(cd, in, &out)) return CP932_NONE;
    if (out.size() > 2) Die("a character encodes to more than two bytes", cp);
    if (out.empty()) return CP932_NOTHING;
    unsigned code =
        out.size() == 2 ? (unsigned char)out[0] << 8 | (unsigned char)out[1] : (unsigned char)out[0];
    if (code >= CP932_NOTHING) Die("a character encodes to a code kept for no form", cp);
    return (char16_t)code;
}

void Read_encoder(iconv_t cd, Tables* t) {
    for (char32_t first = 0; first <= CP932_LAST_CHAR; first += 256) {
        std::vector<char16_t> page;
        for (char32_t cp = first; cp < first + 256; cp++) page.push_back(Encode(cd, cp));
        bool empty = std::all_of(page.begin(), page.end(), [](char16_t c) { return c == CP932_NONE; });
        if (!empty && t->pages.size() / 256 > 255) Die("more pages of forms than an index byte holds", first);
        t->page_of.push_back(empty ? 0 : (uint8_t)(t->pages.size() / 256));
        if (!empty) t->pages.insert(t->pages.end(), page.begin(), page.end());
    }
}

template <class T> void Write_values(FILE* f, const T* values, size_t count) {
    for (size_t i = 0; i < count; i++)
        std::fprintf(f, "%s0x%X,", i % 12 ? " " : "\n    ", (unsigned)values[i]);
}

template <class T> void Write_array(FILE* f, const char* declaration, const std::vector<T>& values) {
    std::fprintf(f, "%s = {", declaration);
    Write_values(f, values.data(), values.size());
    std::fprintf(f, "\n};\n");
}

// The pages of forms, a braced row of 256 each.
void Write_pages(FILE* f, const std::vector<char16_t>& pages) {
    std::fprintf(f, "const char16_t CP932_PAGES[][256] = {");
    for (size_t at = 0; at < pages.size(); at += 256) {
        std::fprintf(f, "\n{");
        Write_values(f, pages.data() + at, 256);
        std::fprintf(f, "\n},");
    }
    std::fprintf(f, "\n};\n");
}

bool Write(const char* path, const Tables& t) {
    std::string partial = std::string(path) + ".partial";
    FILE* f = std::fopen(partial.c_str(), "w");
    if (!f) return false;
    std::fprintf(f, "// Written by veltrane-cp932-table from the C library's iconv: not to be edited.\n");
    std::fprintf(f, "#include \"files/cp932_table.h\"\n\n");
    Write_array(f, "const char16_t CP932_SINGLE[256]", t.single);
    Write_array(f, "const char16_t CP932_DOUBLE[CP932_LEADS * CP932_TRAILS]", t.pairs);
    Write_array(f, "const uint8_t CP932_PAGE_OF[(CP932_LAST_CHAR >> 8) + 1]", t.page_of);
    Write_pages(f, t.pages);
    bool ok = !std::ferror(f);
    ok = std::fclose(f) == 0 && ok && std::rename(partial.c_str(), path) == 0;
    if (!ok) std::remove(partial.c_str());
    return ok;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: veltrane-cp932-table OUT.cpp\n");
        return 2;
    }
    iconv_t decoder = iconv_open("UTF-32LE", "CP932"), encoder = iconv_open("CP932", "UTF-32LE");
    if (decoder == (iconv_t)-1 || encoder == (iconv_t)-1) Die("iconv has no CP932", 0);
    Tables t;
    Read_decoder(decoder, &t);
    Read_encoder(encoder, &t);
    iconv_close(decoder);
    iconv_close(encoder);
    if (t.pairs.size() != CP932_LEADS * CP932_TRAILS) Die("the lead bytes are not the tables' rows", 0);
    if (!Write(argv[1], t)) {
        std::perror(argv[1]);
        return 1;
    }
    return 0;
}
