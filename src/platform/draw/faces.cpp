// Face names resolved with fontconfig, among the faces installed on the desktop.
#include "faces.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <map>
#include <vector>

namespace {

// What a face file itself is, whatever name a font cache keeps for it: a link that now points at
// another file (as Debian's alternatives do) is cached under its old target's name.
struct Face_file {
    std::string file;
    bool japanese = false;   // it has kana and kanji
    bool even_latin = false; // its Latin letters are of one width, as the story's fixed cells need
};

// The face at file and index as FreeType reads it, when its own family is one of names.
bool Read_face(const char* file, int index, const std::vector<std::string>& names, Face_file* out) {
    FT_Face face = nullptr;
    if (!Ft_library() || FT_New_Face(Ft_library(), file, index, &face) != 0) return false;
    bool named = face->family_name && std::find(names.begin(), names.end(), face->family_name) != names.end();
    out->file = file;
    out->japanese =
        FT_Get_Char_Index(face, 0x3042) && FT_Get_Char_Index(face, 0x6F22) && FT_Get_Char_Index(face, 0xFF71);
    FT_Pos advance[2] = {-1, -2};
    for (int i = 0; i < 2; i++)
        if (FT_Load_Char(face, "iW"[i], FT_LOAD_NO_SCALE) == 0) advance[i] = face->glyph->advance.x;
    out->even_latin = advance[0] == advance[1];
    FT_Done_Face(face);
    return named;
}

// The face fontconfig ranks first for a family among those whose files are what the cache says.
Face_file Match_family(const char* family) {
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, (const FcChar8*)family);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result;
    FcFontSet* ranked = FcFontSort(nullptr, pattern, FcFalse, nullptr, &result);
    FcPatternDestroy(pattern);
    Face_file found;
    for (int i = 0; ranked && i < ranked->nfont; i++) {
        FcPattern* font = ranked->fonts[i];
        FcChar8* path = nullptr;
        int index = 0;
        if (FcPatternGetString(font, FC_FILE, 0, &path) != FcResultMatch) continue;
        FcPatternGetInteger(font, FC_INDEX, 0, &index);
        std::vector<std::string> names;
        FcChar8* name = nullptr;
        for (int n = 0; FcPatternGetString(font, FC_FAMILY, n, &name) == FcResultMatch; n++)
            names.emplace_back((const char*)name);
        if (Read_face((const char*)path, index, names, &found)) break;
        found = Face_file{};
    }
    if (ranked) FcFontSetDestroy(ranked);
    return found;
}

} // namespace

// A face name as the desktop knows it ("ＭＳ 明朝") to an installed file. For the Japanese
// character set the face must cover kana and kanji: a plain match of a face that is not
// installed gives a Latin face, so an installed Mincho face stands in. A face whose Latin letters
// are of one width, as the face asked for has them, comes first, since text is laid in fixed cells.
std::string Resolve_face(const std::string& family, bool need_japanese) {
    static std::map<std::pair<std::string, bool>, std::string> resolved;
    auto key = std::make_pair(family, need_japanese);
    auto it = resolved.find(key);
    if (it != resolved.end()) return it->second;
    FcInit();
    Face_file chosen = Match_family(family.c_str());
    if (need_japanese && !(chosen.japanese && chosen.even_latin)) {
        std::vector<Face_file> faces{chosen};
        for (const char* stand_in : {"IPAMincho", "IPAexMincho", "Noto Serif CJK JP", "IPAexGothic"})
            faces.push_back(Match_family(stand_in));
        auto even =
            std::find_if(faces.begin(), faces.end(), [](auto& f) { return f.japanese && f.even_latin; });
        auto any = std::find_if(faces.begin(), faces.end(), [](auto& f) { return f.japanese; });
        chosen = even != faces.end() ? *even : any != faces.end() ? *any : chosen;
    }
    resolved[key] = chosen.file;
    return chosen.file;
}
