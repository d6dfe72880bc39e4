// Game_folder: a temporary game folder with the demo's fixed pictures and a given first script,
// the working directory while it lives, with a clean GameState before and after.
#pragma once

#include "game_folder_core.h"

class Game_folder {
  public:
    explicit Game_folder(const std::string& script) {
        Copy_fixed_pictures(dir);
        fs::current_path(dir);
        Write_script(script);
        Reset_game();
    }
    ~Game_folder() {
        Reset_game();
        fs::current_path(previous);
        fs::remove_all(dir);
    }
    Game_folder(const Game_folder&) = delete;
    Game_folder& operator=(const Game_folder&) = delete;

  private:
    fs::path previous = fs::current_path();
    fs::path dir = Make_game_folder("veltrane-bench", {"txt", "gdat"});
};
