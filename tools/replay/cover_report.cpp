// The cover report: each script's lines with content and which of them no route reached, its labels
// never reached, the choices with a branch never picked, the routes' troubles, the files never used.
#include "cover_report.h"
#include "state_json.h"

#include <algorithm>
#include <string_view>

namespace {

constexpr size_t BRIEF = 40; // characters of a line the report shows

// A line holding no more than blanks and the braces and slashes of a block frames the story's lines:
// it is neither counted nor reported.
bool Has_content(const unsigned char* from, const unsigned char* to) {
    return std::any_of(from, to, [](unsigned char b) {
        return std::string_view(" \t\r\n{}/").find((char)b) == std::string_view::npos;
    });
}

struct Line_view {
    const unsigned char *from, *to; // its bytes, without the line end
    bool reached;
};

Line_view Line_at(const Script_cover& s, int number) {
    size_t from = (size_t)s.line_starts[(size_t)number - 1];
    size_t to =
        (size_t)number < s.line_starts.size() ? (size_t)s.line_starts[(size_t)number] : s.bytes.size();
    bool reached =
        std::any_of(s.read.begin() + (long)from, s.read.begin() + (long)to, [](bool b) { return b; });
    while (to > from && (s.bytes[to - 1] == '\n' || s.bytes[to - 1] == '\r')) to--;
    return Line_view{s.bytes.data() + from, s.bytes.data() + to, reached};
}

// The line's text in UTF-8, its indent left out, cut after BRIEF characters.
std::string Brief(const Line_view& line) {
    std::string text = Cp932_to_utf8((const char*)line.from, (size_t)(line.to - line.from));
    size_t start = 0;
    for (;;) {
        if (start < text.size() && (text[start] == ' ' || text[start] == '\t'))
            start++;
        else if (text.compare(start, 3, "\u3000") == 0)
            start += 3;
        else
            break;
    }
    size_t end = start;
    for (size_t chars = 0; end < text.size() && chars < BRIEF; chars++) {
        end++; // a character: its first byte, then the bytes that go on from it
        while (end < text.size() && ((unsigned char)text[end] & 0xC0) == 0x80) end++;
    }
    return text.substr(start, end - start) + (end < text.size() ? "…" : "");
}

// A label: a '*' with only blanks before it on its line, up to a blank or the line's end.
std::string Label(const Line_view& line) {
    const unsigned char* p = line.from;
    while (p < line.to && (*p == ' ' || *p == '\t')) p++;
    if (p == line.to || *p != '*') return "";
    const unsigned char* end = p;
    while (end < line.to && end - p < 32 && *end != ' ' && *end != '\t') end++;
    return Cp932_to_utf8((const char*)p, (size_t)(end - p));
}

struct Summary {
    std::string path;
    bool loaded = false;
    int lines = 0, reached = 0;                      // lines with content, and those reached
    std::vector<std::pair<int, std::string>> missed; // the lines never reached, with their text
    std::vector<int> ordinals;                       // and their places among the lines with content
    std::vector<std::pair<int, std::string>> labels; // the labels among them
};

Summary Summarise(const std::string& path, const Script_cover& s) {
    Summary out;
    out.path = path;
    out.loaded = s.loaded;
    for (int n = 1; n <= (int)s.line_starts.size() && !s.bytes.empty(); n++) {
        Line_view line = Line_at(s, n);
        if (!Has_content(line.from, line.to)) continue;
        out.lines++;
        if (line.reached) {
            out.reached++;
            continue;
        }
        out.missed.emplace_back(n, Brief(line));
        out.ordinals.push_back(out.lines);
        if (std::string label = Label(line); !label.empty()) out.labels.emplace_back(n, label);
    }
    return out;
}

std::vector<Summary> Summaries(const Coverage& coverage) {
    std::vector<Summary> out;
    for (const auto& [path, s] : coverage.scripts) out.push_back(Summarise(path, s));
    return out;
}

// The percentage reached, cut (never rounded up) to tenths: "97.1".
std::string Percent(const Summary& s) {
    long tenths = s.lines ? (long)s.reached * 1000 / s.lines : 1000;
    return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10);
}

std::string Place(const std::pair<std::string, int>& at) {
    return at.first + ":" + std::to_string(at.second);
}

std::string Route(const std::vector<int>& route) {
    if (route.empty()) return "route (no choice)";
    std::string out = "route ";
    for (size_t i = 0; i < route.size(); i++) out += (i ? "/" : "") + std::to_string(route[i]);
    return out;
}

std::string Counted(long n, const char* thing) {
    return std::to_string(n) + " " + thing + (n == 1 ? "" : "s");
}

std::vector<int> Unpicked(const std::array<bool, 3>& picked) {
    std::vector<int> out;
    for (int k = 1; k <= 3; k++)
        if (!picked[(size_t)k - 1]) out.push_back(k);
    return out;
}

// The lines never reached, each run of them (no line with content reached between) told once.
void Text_missed(const Summary& s, std::string* out) {
    for (size_t i = 0; i < s.missed.size();) {
        size_t j = i;
        while (j + 1 < s.missed.size() && s.ordinals[j + 1] == s.ordinals[j] + 1) j++;
        std::string lines =
            i == j ? "line " + std::to_string(s.missed[i].first)
                   : "lines " + std::to_string(s.missed[i].first) + "-" + std::to_string(s.missed[j].first);
        *out += "  " + lines + " never reached: " + s.missed[i].second + "\n";
        i = j + 1;
    }
}

std::string Text_script(const Summary& s) {
    std::string head = s.path + ": " + Percent(s) + "% of " + Counted(s.lines, "line") + " reached";
    if (!s.loaded) return head + " (never loaded)\n";
    std::string out = head + "\n";
    Text_missed(s, &out);
    for (const auto& [line, label] : s.labels)
        out += "  label " + label + " never reached (line " + std::to_string(line) + ")\n";
    return out;
}

std::string Text_choice(const std::string& place, const std::vector<int>& unpicked) {
    std::string branches;
    for (size_t i = 0; i < unpicked.size(); i++)
        branches += (i == 0 ? "" : i + 1 == unpicked.size() ? " and " : ", ") + std::to_string(unpicked[i]);
    return "choice " + place + ": " + (unpicked.size() == 1 ? "branch " : "branches ") + branches +
           " never picked\n";
}

std::string Json_numbers(const std::vector<int>& numbers) {
    std::string out = "[";
    for (size_t i = 0; i < numbers.size(); i++) out += (i ? "," : "") + std::to_string(numbers[i]);
    return out + "]";
}

// [{"line":N,"NAME":"TEXT"},...]
std::string Json_lines(const std::vector<std::pair<int, std::string>>& lines, const char* name) {
    std::string out = "[";
    for (const auto& [line, text] : lines)
        out += std::string(out.size() > 1 ? "," : "") + "{\"line\":" + std::to_string(line) + ",\"" + name +
               "\":" + Json_string(text) + "}";
    return out + "]";
}

std::string Json_script(const Summary& s) {
    return "{\"script\":" + Json_string(s.path) + ",\"loaded\":" + (s.loaded ? "true" : "false") +
           ",\"lines\":" + std::to_string(s.lines) + ",\"reached\":" + std::to_string(s.reached) +
           ",\"percent\":" + Percent(s) + ",\"unreached\":" + Json_lines(s.missed, "text") +
           ",\"labels\":" + Json_lines(s.labels, "label") + "}";
}

} // namespace

std::string Cover_text(const Coverage& coverage, const std::vector<std::string>& unused) {
    std::string out;
    for (const Summary& s : Summaries(coverage)) out += Text_script(s);
    for (const auto& [at, picked] : coverage.choices)
        if (std::vector<int> unpicked = Unpicked(picked); !unpicked.empty())
            out += Text_choice(Place(at), unpicked);
    for (const Trouble& t : coverage.troubles) out += Route(t.route) + ": " + t.place + ": " + t.what + "\n";
    for (const std::string& file : unused) out += "never used: " + file + "\n";
    uint64_t tenths = coverage.virtual_ms / 6000;
    out += Counted(coverage.routes, "route") + ", " + Counted(coverage.choice_states, "choice state") + ", " +
           std::to_string(tenths / 10) + "." + std::to_string(tenths % 10) + " virtual minutes\n";
    if (coverage.budget_spent)
        out += "budget spent after " + Counted(coverage.routes, "route") + ": coverage may be incomplete\n";
    return out;
}

std::string Cover_json(const Coverage& coverage, const std::vector<std::string>& unused) {
    std::string scripts, choices, troubles, files;
    for (const Summary& s : Summaries(coverage)) scripts += (scripts.empty() ? "" : ",") + Json_script(s);
    for (const auto& [at, picked] : coverage.choices)
        if (std::vector<int> unpicked = Unpicked(picked); !unpicked.empty())
            choices += std::string(choices.empty() ? "" : ",") + "{\"place\":" + Json_string(Place(at)) +
                       ",\"unpicked\":" + Json_numbers(unpicked) + "}";
    for (const Trouble& t : coverage.troubles)
        troubles += std::string(troubles.empty() ? "" : ",") + "{\"route\":" + Json_numbers(t.route) +
                    ",\"place\":" + Json_string(t.place) + ",\"what\":" + Json_string(t.what) + "}";
    for (const std::string& file : unused) files += (files.empty() ? "" : ",") + Json_string(file);
    return "{\"scripts\":[" + scripts + "],\"choices\":[" + choices + "],\"troubles\":[" + troubles +
           "],\"unused\":[" + files + "],\"routes\":" + std::to_string(coverage.routes) +
           ",\"choice_states\":" + std::to_string(coverage.choice_states) +
           ",\"virtual_ms\":" + std::to_string(coverage.virtual_ms) +
           ",\"budget_spent\":" + (coverage.budget_spent ? "true" : "false") + "}\n";
}

double Lowest_percent(const Coverage& coverage) {
    double lowest = 100;
    for (const Summary& s : Summaries(coverage))
        if (s.lines) lowest = std::min(lowest, s.reached * 100.0 / s.lines);
    return lowest;
}
