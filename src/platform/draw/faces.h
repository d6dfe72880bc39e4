// Face names as the desktop knows them to face files, in the way each backend finds its fonts:
// fontconfig on the desktop (faces.cpp), the faces served with the game in the browser.
#pragma once

#include <string>

// FreeType's own handle type, declared as FreeType declares it, so that this header needs none of its
typedef struct FT_LibraryRec_* FT_Library;

// The one FreeType library of the process; null when it cannot start.
FT_Library Ft_library();
// A face name ("ＭＳ 明朝", UTF-8) to the file of the face that stands for it. For the Japanese
// character set the face must cover kana and kanji; a face whose Latin letters are of one width
// comes first, since the story's text is laid in fixed cells. Empty when none is found.
std::string Resolve_face(const std::string& family, bool need_japanese);
