// Fonts and text drawing: face names resolved to files (faces.h), glyphs rendered with FreeType,
// kept in a cache that outlives the fonts, since the engine makes a font for every character.
#include "backend/backend_hooks.h"
#include "cp932.h"
#include "faces.h"
#include "touch.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <new>
#include <tuple>
#include <unordered_map>
#include <vector>

namespace {

struct Glyph {
    int left = 0, top = 0, width = 0, rows = 0, advance = 0;
    std::vector<uint8_t> coverage;
};

// One face file at one cell height and weight, with the glyphs drawn so far.
struct Sized_face {
    FT_Face face = nullptr;
    int cell_height = 0;
    int ascent = 0;
    FT_Pos embolden = 0; // 26.6 pixels added to strokes for a bold weight on a regular face
    std::unordered_map<char32_t, Glyph> glyphs;
    size_t glyph_bytes = 0; // coverage held in glyphs
    int users = 0;          // fonts alive on it: only a face no font uses may be closed

    ~Sized_face() {
        if (face) FT_Done_Face(face);
    }
};

// a face's cache starts over past either bound: large sizes fill memory long before the count does
constexpr size_t MAX_GLYPHS_PER_FACE = 4096;
constexpr size_t MAX_GLYPH_BYTES_PER_FACE = 32u << 20;
constexpr int MAX_HEIGHT = 2048;
// past this many open sizes, the sizes no font uses are closed (a script may step through many)
constexpr size_t MAX_SIZED_FACES = 64;

Sized_face* Open_sized_face(const std::string& file, int height, int weight) {
    static std::map<std::tuple<std::string, int, bool>, std::unique_ptr<Sized_face>> faces;
    bool bold = weight >= FW_SEMIBOLD;
    auto key = std::make_tuple(file, height, bold);
    auto it = faces.find(key);
    if (it != faces.end()) return it->second.get();
    if (!Ft_library() || file.empty()) return nullptr;
    if (faces.size() >= MAX_SIZED_FACES)
        std::erase_if(faces, [](const auto& entry) { return entry.second->users == 0; });
    if (faces.size() >= MAX_SIZED_FACES) return nullptr;

    auto sized = std::make_unique<Sized_face>();
    if (FT_New_Face(Ft_library(), file.c_str(), 0, &sized->face) != 0) return nullptr;
    FT_Face face = sized->face;
    // the desktop's cell height is the face's Windows ascent plus descent
    long ascent_units = face->ascender, cell_units = face->ascender - face->descender;
    auto* os2 = (TT_OS2*)FT_Get_Sfnt_Table(face, FT_SFNT_OS2);
    if (os2 && os2->usWinAscent + os2->usWinDescent > 0) {
        ascent_units = os2->usWinAscent;
        cell_units = os2->usWinAscent + os2->usWinDescent;
    }
    if (cell_units <= 0) cell_units = face->units_per_EM ? face->units_per_EM : 1;
    double em = height > 0 ? (double)height * face->units_per_EM / cell_units : -height;
    if (height == 0) em = 16;
    FT_Set_Char_Size(face, 0, (FT_F26Dot6)std::lround(em * 64), 72, 72);
    sized->cell_height = height > 0 ? height : (int)std::lround(em * cell_units / face->units_per_EM);
    sized->ascent = (int)std::lround((double)sized->cell_height * ascent_units / cell_units);
    bool face_is_bold = face->style_flags & FT_STYLE_FLAG_BOLD;
    if (bold && !face_is_bold) sized->embolden = std::max<FT_Pos>(32, (FT_Pos)std::lround(em * 64 / 24));
    Sized_face* raw = sized.get();
    faces[key] = std::move(sized);
    return raw;
}

const Glyph& Glyph_of(Sized_face* sf, char32_t cp) {
    auto it = sf->glyphs.find(cp);
    if (it != sf->glyphs.end()) return it->second;
    if (sf->glyphs.size() >= MAX_GLYPHS_PER_FACE || sf->glyph_bytes >= MAX_GLYPH_BYTES_PER_FACE) {
        sf->glyphs.clear();
        sf->glyph_bytes = 0;
    }
    Glyph& g = sf->glyphs[cp];
    FT_Face face = sf->face;
    if (FT_Load_Char(face, cp, FT_LOAD_NO_BITMAP | FT_LOAD_TARGET_NORMAL) != 0) return g;
    FT_GlyphSlot slot = face->glyph;
    FT_Pos advance = slot->advance.x;
    if (sf->embolden && slot->format == FT_GLYPH_FORMAT_OUTLINE) {
        FT_Outline_EmboldenXY(&slot->outline, sf->embolden, sf->embolden / 2);
        advance += sf->embolden;
    }
    if (FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) != 0) return g;
    const FT_Bitmap& bm = slot->bitmap;
    g.left = slot->bitmap_left;
    g.top = slot->bitmap_top;
    g.width = (int)bm.width;
    g.rows = (int)bm.rows;
    g.advance = (int)((advance + 32) >> 6);
    g.coverage.resize((size_t)g.width * g.rows);
    sf->glyph_bytes += g.coverage.size();
    for (int r = 0; r < g.rows; r++)
        std::copy_n(bm.buffer + (ptrdiff_t)r * bm.pitch, g.width,
                    g.coverage.begin() + (ptrdiff_t)r * g.width);
    return g;
}

// Blends one glyph's coverage in the colour: dst + (colour - dst) * coverage / 255, on the rows
// of its cell only (from cell_top, below cell_bottom): hinting and emboldening can push a stroke
// that reaches the face's ascent a row above the cell, where nothing clears it again.
void Draw_glyph(Surface* s, const Glyph& g, int64_t x, int64_t y, int64_t cell_top, int64_t cell_bottom,
                uint32_t color) {
    for (int r = 0; r < g.rows; r++) {
        int64_t py = y + r;
        if (py < 0 || py >= s->height || py < cell_top || py >= cell_bottom) continue;
        const uint8_t* cov = g.coverage.data() + (size_t)r * g.width;
        uint32_t* row = s->pixels + (size_t)py * s->width;
        for (int c = 0; c < g.width; c++) {
            int64_t px = x + c;
            unsigned a = cov[c];
            if (a == 0 || px < 0 || px >= s->width) continue;
            uint32_t d = row[px];
            uint32_t out = 0;
            for (int shift = 0; shift <= 16; shift += 8) {
                int dc = (int)(d >> shift & 0xFF), tc = (int)(color >> shift & 0xFF);
                out |= (uint32_t)(dc + (tc - dc) * (int)a / 255) << shift;
            }
            row[px] = out;
        }
    }
}

} // namespace

FT_Library Ft_library() {
    static FT_Library library = [] {
        FT_Library lib = nullptr;
        if (FT_Init_FreeType(&lib) != 0) lib = nullptr;
        return lib;
    }();
    return library;
}

struct Font {
    Sized_face* sized;
};

Font* CreateFont(int height, int weight, const char* face, int charset) {
    // a glyph 2048 pixels high is already four times the picture; larger ones would only cost memory
    if (height > MAX_HEIGHT || height < -MAX_HEIGHT) return nullptr;
    if (Backend_hooks* hooks = Current_hooks(); hooks && hooks->refuse_font()) return nullptr;
    std::string family = Cp932_to_utf8(face ? face : "");
    std::string file = Resolve_face(family, charset == SHIFTJIS_CHARSET);
    Sized_face* sized = Open_sized_face(file, height, weight);
    if (!sized) return nullptr;
    Font* font = new (std::nothrow) Font{sized};
    if (font) sized->users++;
    return font;
}

void DeleteObject(Font* font) {
    if (font) font->sized->users--;
    delete font;
}

Font* SelectObject(Surface* surface, Font* font) {
    if (!surface) return nullptr;
    Font* previous = surface->font;
    surface->font = font;
    return previous;
}

COLORREF SetTextColor(Surface* surface, COLORREF color) {
    if (!surface) return 0;
    COLORREF previous = surface->text_color;
    surface->text_color = color;
    return previous;
}

int SetBkMode(Surface* surface, int mode) {
    if (!surface) return 0;
    int previous = surface->bk_mode;
    surface->bk_mode = mode;
    return previous;
}

bool TextOut(Surface* surface, int x, int y, const char* bytes, int length) {
    if (!surface || !surface->pixels || !surface->font || !bytes || length < 0) return false;
    Sized_face* sf = surface->font->sized;
    COLORREF c = surface->text_color;
    uint32_t color = (c & 0xFF) << 16 | (c & 0xFF00) | (c >> 16 & 0xFF);
    int64_t pen = x, left = INT64_MAX, right = INT64_MIN; // the columns the glyphs cover
    for (size_t at = 0; at < (size_t)length;) {
        char32_t cp;
        at += Cp932_next(bytes, (size_t)length, at, &cp);
        const Glyph& g = Glyph_of(sf, cp);
        Draw_glyph(surface, g, pen + g.left, (int64_t)y + sf->ascent - g.top, y, (int64_t)y + sf->cell_height,
                   color);
        left = std::min(left, pen + g.left);
        right = std::max(right, pen + g.left + g.width);
        pen += g.advance;
    }
    // glyphs are drawn only on the rows of their cell
    if (left < right) Touch(surface, left, y, right, (int64_t)y + sf->cell_height);
    return true;
}

int GetTextExtent(Font* font, const char* bytes, int length) {
    if (!font || !bytes) return 0;
    int width = 0;
    for (size_t at = 0; at < (size_t)length;) {
        char32_t cp;
        at += Cp932_next(bytes, (size_t)length, at, &cp);
        width += Glyph_of(font->sized, cp).advance;
    }
    return width;
}

int GetFontHeight(const Font* font) { return font ? font->sized->cell_height : 0; }
