// The SDL backend's single-instance lock: an abstract socket keyed by user, display, class and
// caption, held while the backend lives.
#pragma once

#include <string>

class Sdl_instance {
  public:
    ~Sdl_instance();
    // Whether another process holds the key.
    bool running(const std::string& key);
    // Holds the key; false when it cannot.
    bool claim(const std::string& key);

  private:
    int fd = -1;
};
