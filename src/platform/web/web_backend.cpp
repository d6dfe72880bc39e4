// The browser backend: the page window and the page's sound, wired into one backend.
#include "web.h"
#include "web_audio.h"
#include "web_window.h"

#include "backend/backend.h"

namespace {

class Web_backend : public Backend {
  public:
    Window_backend& window_service() override { return window; }
    Sound_backend& sound_service() override { return audio; }

  private:
    Web_audio audio;
    Web_window window;
};

} // namespace

void Use_web_backend() { Set_backend(std::make_unique<Web_backend>()); }
