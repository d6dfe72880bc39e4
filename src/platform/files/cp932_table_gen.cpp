// cp932_table_gen OUT: writes the tables of files/cp932_table.h as C++ source, read off the C
// library's iconv: what every byte and every lead and trail pair decode to, and the bytes its
// encoder writes for every code point. Runs on the build machine; exits 1, writing nothing, when
// iconv has no CP932 or reads it in a way the tables cannot hold.
#include "files/cp932_table.h"

#include <iconv.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

[[noreturn]] void Die(const char* what, unsigned value) {
    std::fprintf(stderr, "cp932_table_gen: %s (0x%X)\n", what, value);
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
    std::vector<char16_t> single, pairs, codes;
    std::vector<char32_t> chars;
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

void Read_encoder(iconv_t cd, Tables* t) {
    std::string out;
    for (char32_t cp = 0; cp <= 0x10FFFF; cp++) {
        if (cp >= 0xD800 && cp <= 0xDFFF) continue;
        std::string in = {(char)(cp & 0xFF), (char)(cp >> 8 & 0xFF), (char)(cp >> 16), 0};
        if (!Convert(cd, in, &out)) continue;
        if (out.size() > 2) Die("a character encodes to more than two bytes", cp);
        unsigned code = out.size() == 2   ? (unsigned char)out[0] << 8 | (unsigned char)out[1]
                        : out.size() == 1 ? (unsigned char)out[0]
                                          : CP932_NONE;
        t->chars.push_back(cp);
        t->codes.push_back((char16_t)code);
    }
}

template <class T> void Write_array(FILE* f, const char* declaration, const std::vector<T>& values) {
    std::fprintf(f, "%s = {", declaration);
    for (size_t i = 0; i < values.size(); i++)
        std::fprintf(f, "%s0x%X,", i % 12 ? " " : "\n    ", (unsigned)values[i]);
    std::fprintf(f, "\n};\n");
}

bool Write(const char* path, const Tables& t) {
    std::string partial = std::string(path) + ".partial";
    FILE* f = std::fopen(partial.c_str(), "w");
    if (!f) return false;
    std::fprintf(f, "// Written by cp932_table_gen from the C library's iconv: not to be edited.\n");
    std::fprintf(f, "#include \"files/cp932_table.h\"\n\n");
    Write_array(f, "const char16_t CP932_SINGLE[256]", t.single);
    Write_array(f, "const char16_t CP932_DOUBLE[CP932_LEADS * CP932_TRAILS]", t.pairs);
    std::fprintf(f, "const size_t CP932_FORM_COUNT = %zu;\n", t.chars.size());
    Write_array(f, "const char32_t CP932_FORM_CHARS[]", t.chars);
    Write_array(f, "const char16_t CP932_FORM_CODES[]", t.codes);
    bool ok = std::fclose(f) == 0;
    return ok && std::rename(partial.c_str(), path) == 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: cp932_table_gen OUT.cpp\n");
        return 2;
    }
    iconv_t decoder = iconv_open("UTF-32LE", "CP932"), encoder = iconv_open("CP932", "UTF-32LE");
    if (decoder == (iconv_t)-1 || encoder == (iconv_t)-1) Die("iconv has no CP932", 0);
    Tables t;
    Read_decoder(decoder, &t);
    Read_encoder(encoder, &t);
    if (t.pairs.size() != CP932_LEADS * CP932_TRAILS) Die("the lead bytes are not the tables' rows", 0);
    if (!Write(argv[1], t)) {
        std::perror(argv[1]);
        return 1;
    }
    return 0;
}
