// The reader's menu, opened by a right-click, and the settings panel it leads to: lists of rows
// picked by mouse (on release) or by the arrow keys with Enter, closed by Esc or a right-click.
#pragma once

#include "screens.h"

#include <string>
#include <vector>

// A screen of rows under a title: the row under the pointer or the keyboard is lit; a row acts
// (activate) on Enter, Space or a click, and a row with a value changes it (adjust) by Left and
// Right, or by a click on the value's left or right half.
class List_screen : public Screen {
  public:
    void input(UINT message, WPARAM wParam, LPARAM lParam) override;
    Rect area() const override;
    void draw(Canvas& canvas) override;

  protected:
    virtual const char* title() const = 0;
    virtual int rows() const = 0;
    virtual std::string label(int row) const = 0;
    virtual std::string value(int /*row*/) const { return ""; }
    virtual void activate(int row) = 0;
    virtual void adjust(int /*row*/, int /*by*/) {}
    int selected = 0;

  private:
    int Row_at(int x, int y) const;
    int pressed = -1;
};

// Opens the reader's menu over the story (refused under a message box).
void Menu_open();
// Opens the settings panel.
void Settings_open();
