// The reader's menu, opened by a right-click, and the settings panel it leads to: lists of rows
// picked by mouse (on release) or by the arrow keys with Enter, closed by Esc or a right-click.
#pragma once

#include "screens.h"

#include <string>
#include <vector>

// Where a list's parts lie in a room of room_w x room_h units. A list that fits the room at its full
// spacing keeps it; else its title and foot tighten and its rows close up as far as their text allows,
// as many a page as fit. Values stand beside their labels in a panel of full width, else under them.
struct List_layout {
    Rect panel;    // in the room
    int title_y;   // the title's top, below the panel's
    int rows_top;  // the first row's top, below the panel's
    int pitch;     // from a row's top to the next's
    int per_page;  // rows shown at once
    int label_y;   // a label's top, below its row's
    int value_x;   // a value's left, from the panel's
    int value_y;   // a value's top, below its row's
    int value_top; // where the value's half of a row begins, below its top
};
List_layout List_lay_out(int rows, bool values, int room_w, int room_h);

// A screen of rows under a title, paged when the room is short: the row under the pointer or the
// keyboard is lit; a row acts (activate) on Enter, Space or a click, and a row with a value changes it
// (adjust) by Left and Right, or by a click on the value's left or right half. Page Up and Down, the
// wheel and the page count's halves turn the pages.
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
    List_layout Layout() const;
    Pager Pager_of(const List_layout& l) const;
    int Pages(const List_layout& l) const;
    int Target_at(int x, int y) const;
    void Click(int target, int x, int y);
    void Turn(int by);
    int pressed = -1;
};

// Opens the reader's menu over the story (refused under a message box).
void Menu_open();
// Opens the settings panel.
void Settings_open();
