// Live editing: a save of the script being played, once its burst of events is over, checked by
// veltrane-lint, then the page being read played again in the new text, told by a notice.
#include "live_edit.h"
#include "history.h"
#include "notice.h"
#include "screens.h"

#include <strings.h>

#include <cstdio>

namespace {

bool watching = false;
bool waking = false; // the watch's thread wakes the loop
std::string checker; // veltrane-lint
std::string folder;  // txt/ as the game folder holds it

// Whether name, a file of the watched folder, is the script being played; an empty name (news were
// lost) may be. Case aside: a script removed is no longer found, and its name may be written otherwise.
bool Is_played(const std::string& name) {
    if (!game.script_name[0]) return false;
    return name.empty() ||
           strcasecmp(Found_path(game.script_name).c_str(), (folder + "/" + name).c_str()) == 0;
}

// A notice (UTF-8 here, shown in CP932), and a line for the terminal.
void Tell(const std::string& notice, const std::string& line) {
    Notice_show(Utf8_to_cp932(notice.c_str()).c_str());
    std::fprintf(stderr, "veltrane: %s\n", line.c_str());
}

// The report's first error as a notice says it: "2行目 unknown command #wiat", and how many others.
std::string First_error(const Script_check& check) {
    size_t at = check.report.find(": error: ");
    size_t start = check.report.rfind('\n', at) + 1, end = check.report.find('\n', at);
    std::string place = check.report.substr(start, at - start);
    std::string said =
        place.substr(place.rfind(':') + 1) + "行目 " + check.report.substr(at + 9, end - at - 9);
    return check.errors > 1 ? said + "（ほか" + std::to_string(check.errors - 1) + "件）" : said;
}

void Reload() {
    std::string shown = Folder_path(game.script_name);
    FILE* file = Game_fopen(game.script_name);
    if (!file)
        return Tell(shown + " が消されました（今の文のまま続きます）",
                    shown + " was removed: the story goes on in the text it has");
    std::fclose(file);
    Script_check check = Check_script(checker, shown);
    std::fputs(check.report.c_str(), stderr);
    if (!check.done)
        return Tell(shown + " を確かめられないため、読み直しません",
                    shown + ": veltrane-lint did not finish its check: not reloaded");
    if (check.errors)
        return Tell(shown + " を読み直しません: " + First_error(check), shown + " has errors: not reloaded");
    Followed follow;
    if (const char* why = History_again(&follow))
        return Tell(shown + " を読み直せません: " + Cp932_to_utf8(why) + "（前の文のまま続きます）",
                    shown +
                        (follow.why != Kept::NONE
                             ? ": the lines where this page begins changed, or come more than once"
                             : ": out of memory") +
                        ": not reloaded, the story goes on in the text it has");
    reader.skip_waiting = reader.auto_waiting = false;
    Notice_show(Utf8_to_cp932((shown + " を読み直しました").c_str()).c_str());
}

} // namespace

bool Live_edit_start(std::string* why) {
    if (!Find_checker(&checker)) {
        *why =
            "each script saved is checked with veltrane-lint, which is neither beside veltrane nor on PATH";
        return false;
    }
    folder = Found_path(".\\txt");
    watching = Watch_start(folder, why);
    return watching;
}

void Live_edit_turn() {
    if (!watching) return;
    // the waker begins with the loop, once the window whose loop it wakes is open
    std::string why;
    if (!waking && !(waking = Watch_wake(game.main_window, &why))) {
        Live_edit_end();
        return Tell("読み直しを止めました",
                    "--watch: " + why + ": scripts saved from now on are not reloaded");
    }
    if (!Watch_read()) {
        Live_edit_end();
        return Tell(folder + "/ が無くなったため、これからは読み直しません",
                    folder + "/ was moved or removed: scripts saved from now on are not reloaded");
    }
    // a screen holds the story: the saves wait for it to close
    if (Screen_is_open()) return;
    bool played = false;
    for (std::string name; Watch_take(&name);) played |= Is_played(name);
    if (played) Reload();
}

DWORD Live_edit_due() { return watching ? Watch_due() : INFINITE; }

void Live_edit_end() {
    if (watching) Watch_end();
    watching = waking = false;
}
