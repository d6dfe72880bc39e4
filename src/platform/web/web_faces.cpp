// Face names in the browser: the page serves one face with the game, the Mincho face whose Latin
// letters are of one width, which the desktop also picks for every face the engine names (the
// story's Mincho, and the Gothic of the reader's screens, whose installed faces are proportional).
#include "draw/faces.h"

std::string Resolve_face(const std::string&, bool) { return "/fonts/story.ttf"; }
