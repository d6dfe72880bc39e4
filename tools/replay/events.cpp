// Event lines to window messages.
#include "events.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>

namespace {

// MM_MCINOTIFY's word for a piece that played to its end
constexpr WPARAM MCI_NOTIFY_SUCCESSFUL = 1;

std::vector<std::string_view> Words(std::string_view line) {
    line = line.substr(0, line.find('#'));
    std::vector<std::string_view> words;
    const char* blanks = " \t\r\f\v";
    for (size_t at = line.find_first_not_of(blanks); at != std::string_view::npos;
         at = line.find_first_not_of(blanks, at)) {
        size_t end = std::min(line.find_first_of(blanks, at), line.size());
        words.push_back(line.substr(at, end - at));
        at = end;
    }
    return words;
}

// Coordinates travel as 16-bit halves of lParam.
std::optional<int> Parse_coord(std::string_view text) {
    int value = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || value < -32768 || value > 65535)
        return std::nullopt;
    return value;
}

std::optional<Event_kind> Kind_named(std::string_view name) {
    static const std::pair<std::string_view, Event_kind> kinds[] = {
        {"move", Event_kind::move},     {"ldown", Event_kind::ldown}, {"lup", Event_kind::lup},
        {"rdown", Event_kind::rdown},   {"rup", Event_kind::rup},     {"wheel", Event_kind::wheel},
        {"key", Event_kind::key},       {"keyup", Event_kind::keyup}, {"close", Event_kind::close},
        {"notify", Event_kind::notify},
    };
    for (const auto& [n, kind] : kinds)
        if (n == name) return kind;
    return std::nullopt;
}

std::optional<WPARAM> Key_named(std::string_view name) {
    static const std::pair<std::string_view, WPARAM> keys[] = {
        {"BACK", VK_BACK},       {"TAB", VK_TAB},   {"RETURN", VK_RETURN}, {"SHIFT", VK_SHIFT},
        {"CONTROL", VK_CONTROL}, {"MENU", VK_MENU}, {"ESCAPE", VK_ESCAPE}, {"SPACE", VK_SPACE},
        {"PRIOR", VK_PRIOR},     {"NEXT", VK_NEXT}, {"END", VK_END},       {"HOME", VK_HOME},
        {"LEFT", VK_LEFT},       {"UP", VK_UP},     {"RIGHT", VK_RIGHT},   {"DOWN", VK_DOWN},
        {"DELETE", VK_DELETE},   {"APPS", VK_APPS}};
    for (const auto& [n, key] : keys)
        if (n == name) return key;
    // a gamepad's keys, GAMEPAD_A and on, in the order of their numbers
    static const std::string_view pad[] = {"A",
                                           "B",
                                           "X",
                                           "Y",
                                           "RIGHT_SHOULDER",
                                           "LEFT_SHOULDER",
                                           "LEFT_TRIGGER",
                                           "RIGHT_TRIGGER",
                                           "DPAD_UP",
                                           "DPAD_DOWN",
                                           "DPAD_LEFT",
                                           "DPAD_RIGHT",
                                           "MENU",
                                           "VIEW",
                                           "LEFT_THUMBSTICK_BUTTON",
                                           "RIGHT_THUMBSTICK_BUTTON",
                                           "LEFT_THUMBSTICK_UP",
                                           "LEFT_THUMBSTICK_DOWN",
                                           "LEFT_THUMBSTICK_RIGHT",
                                           "LEFT_THUMBSTICK_LEFT"};
    if (name.starts_with("GAMEPAD_"))
        for (size_t i = 0; i < std::size(pad); i++)
            if (pad[i] == name.substr(8)) return VK_GAMEPAD_A + i;
    if (name.size() == 1 && name[0] >= 'A' && name[0] <= 'Z') return (WPARAM)name[0];
    if (name.size() >= 2 && name[0] == 'F') {
        auto n = Parse_u32(name.substr(1));
        if (n && *n >= 1 && *n <= 12) return VK_F1 + *n - 1;
    }
    return Parse_u32(name);
}

bool Fail(std::string* error, std::string reason) {
    *error = std::move(reason);
    return false;
}

bool Read_point(const std::vector<std::string_view>& w, Replay_event* e, std::string* error) {
    if (w.size() < 4) return Fail(error, std::string(w[1]) + " needs X Y");
    auto x = Parse_coord(w[2]), y = Parse_coord(w[3]);
    if (!x || !y) return Fail(error, "bad coordinates '" + std::string(w[2]) + " " + std::string(w[3]) + "'");
    e->x = *x;
    e->y = *y;
    return true;
}

bool Read_ldown_extras(const std::vector<std::string_view>& w, Replay_event* e, std::string* error) {
    for (size_t i = 4; i < w.size(); i++) {
        if (w[i] == "shift")
            e->shift = true;
        else if (w[i] == "ctrl")
            e->ctrl = true;
        else if (w[i] == "right")
            e->right = true;
        else
            return Fail(error, "unknown ldown option '" + std::string(w[i]) + "'");
    }
    return true;
}

// "wheel N X Y": N notches, up positive, at X Y.
bool Read_wheel(const std::vector<std::string_view>& w, Replay_event* e, std::string* error) {
    if (w.size() != 5) return Fail(error, "wheel needs NOTCHES X Y");
    int notches = 0;
    auto [end, ec] = std::from_chars(w[2].data(), w[2].data() + w[2].size(), notches);
    if (ec != std::errc() || end != w[2].data() + w[2].size() || notches == 0 ||
        std::abs(notches) * WHEEL_DELTA > 32767)
        return Fail(error, "bad notches '" + std::string(w[2]) + "'");
    e->notches = notches;
    std::vector<std::string_view> point{w[0], w[1], w[3], w[4]};
    return Read_point(point, e, error);
}

// The arguments after the event's name; the count is checked here, the values by kind.
bool Read_args(const std::vector<std::string_view>& w, Replay_event* e, std::string* error) {
    size_t count = w.size() - 2;
    switch (e->kind) {
    case Event_kind::close:
    case Event_kind::notify:
        return count == 0 ? true : Fail(error, std::string(w[1]) + " takes no arguments");
    case Event_kind::key:
    case Event_kind::keyup: {
        e->alt = count == 2 && w[3] == "alt";
        if (count != 1 && !e->alt)
            return Fail(error, std::string(w[1]) + " needs one key, then alt or nothing");
        auto key = Key_named(w[2]);
        if (!key) return Fail(error, "unknown key '" + std::string(w[2]) + "'");
        e->key = *key;
        return true;
    }
    case Event_kind::ldown:
        return Read_point(w, e, error) && Read_ldown_extras(w, e, error);
    case Event_kind::wheel:
        return Read_wheel(w, e, error);
    default:
        if (count > 2) return Fail(error, std::string(w[1]) + " takes only X Y");
        return Read_point(w, e, error);
    }
}

WPARAM Modifier_bit(WPARAM key) { return key == VK_SHIFT ? MK_SHIFT : key == VK_CONTROL ? MK_CONTROL : 0; }

// The message for e. held is MK_LBUTTON, MK_RBUTTON, MK_SHIFT and MK_CONTROL as the events so far
// leave them (Shift and Ctrl held by key and keyup); a mouse event updates it first, so its message
// carries what is held once it has happened.
Replay_message Message_for(const Replay_event& e, WPARAM* held) {
    LPARAM at = MAKELPARAM(e.x, e.y);
    switch (e.kind) {
    case Event_kind::move:
        return {e.ms, WM_MOUSEMOVE, *held, at};
    case Event_kind::ldown: {
        WPARAM word = MK_LBUTTON | (e.shift ? MK_SHIFT : 0) | (e.ctrl ? MK_CONTROL : 0) |
                      (e.right ? MK_RBUTTON : 0) | (*held & (MK_SHIFT | MK_CONTROL));
        *held |= word & (MK_LBUTTON | MK_RBUTTON);
        return {e.ms, WM_LBUTTONDOWN, word, at};
    }
    case Event_kind::lup:
        *held &= ~MK_LBUTTON;
        return {e.ms, WM_LBUTTONUP, *held, at};
    case Event_kind::rdown:
        *held |= MK_RBUTTON;
        return {e.ms, WM_RBUTTONDOWN, *held, at};
    case Event_kind::rup:
        *held &= ~MK_RBUTTON;
        return {e.ms, WM_RBUTTONUP, *held, at};
    case Event_kind::wheel:
        return {e.ms, WM_MOUSEWHEEL, *held | (WPARAM)(uint16_t)(int16_t)(e.notches * WHEEL_DELTA) << 16, at};
    case Event_kind::key:
        *held |= Modifier_bit(e.key);
        return {e.ms, e.alt ? WM_SYSKEYDOWN : WM_KEYDOWN, e.key, e.alt ? 1 << 29 : 0};
    case Event_kind::keyup:
        *held &= ~Modifier_bit(e.key);
        return {e.ms, e.alt ? WM_SYSKEYUP : WM_KEYUP, e.key, (LPARAM)(3u << 30) | (e.alt ? 1 << 29 : 0)};
    case Event_kind::close:
        return {e.ms, WM_CLOSE, 0, 0};
    case Event_kind::notify:
        break;
    }
    return {e.ms, MM_MCINOTIFY, MCI_NOTIFY_SUCCESSFUL, 0};
}

} // namespace

std::optional<DWORD> Parse_u32(std::string_view text) {
    DWORD value = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

bool Parse_event_line(std::string_view line, std::optional<Replay_event>* event, std::string* error) {
    event->reset();
    auto w = Words(line);
    if (w.empty()) return true;
    Replay_event e;
    auto ms = Parse_u32(w[0]);
    if (!ms) return Fail(error, "bad time '" + std::string(w[0]) + "'");
    if (w.size() < 2) return Fail(error, "no event after the time");
    auto kind = Kind_named(w[1]);
    if (!kind) return Fail(error, "unknown event '" + std::string(w[1]) + "'");
    e.ms = *ms;
    e.kind = *kind;
    if (!Read_args(w, &e, error)) return false;
    *event = e;
    return true;
}

bool Parse_event_lines(std::istream& in, const std::string& name, std::vector<Replay_event>* events,
                       std::string* error) {
    constexpr size_t LINE_MAX = 4096; // far more than any event needs
    std::string line, reason;
    std::optional<Replay_event> event;
    for (int number = 1; in.peek() != std::char_traits<char>::eof(); number++) {
        line.clear();
        for (char c; line.size() <= LINE_MAX && in.get(c) && c != '\n';) line += c;
        if (line.size() > LINE_MAX)
            return Fail(error, name + ":" + std::to_string(number) + ": line too long");
        if (!Parse_event_line(line, &event, &reason))
            return Fail(error, name + ":" + std::to_string(number) + ": " + reason);
        if (event) events->push_back(*event);
    }
    return true;
}

std::vector<Replay_message> To_messages(std::vector<Replay_event> events) {
    std::stable_sort(events.begin(), events.end(),
                     [](const Replay_event& a, const Replay_event& b) { return a.ms < b.ms; });
    std::vector<Replay_message> messages;
    WPARAM held = 0;
    for (const Replay_event& e : events) messages.push_back(Message_for(e, &held));
    return messages;
}
