// Script words in messages, lists of names, and the nearest keyword to a mistyped one.
#include "lint_internal.h"

#include <algorithm>
#include <cstring>

std::string Shown(const std::string& cp932) {
    std::string out = Cp932_to_utf8(cp932.data(), cp932.size());
    // a control byte would break the one-line form of a report
    for (char& c : out)
        if ((unsigned char)c < 0x20 || c == 0x7F) c = '?';
    return out;
}

std::string Listed(std::span<const char* const> names) {
    std::string out;
    for (size_t i = 0; i < names.size(); i++)
        out += (i == 0 ? "" : i + 1 == names.size() ? " or " : ", ") + std::string(names[i]);
    return out;
}

bool Ends_in_wide_colon(const std::string& label) {
    size_t at = 0, last = 0; // the last character's first byte
    while (at < label.size()) {
        last = at;
        at += Cp932_is_lead((unsigned char)label[at]) && at + 1 < label.size() ? 2 : 1;
    }
    return label.size() >= 2 && last == label.size() - 2 && label.compare(last, 2, "\x81\x46") == 0;
}

namespace {

// Edits between a and b, a swap of two neighbours counting as one: three rows of the table kept.
size_t Distance(const std::string& a, const std::string& b) {
    std::vector<size_t> before(b.size() + 1), last(b.size() + 1), row(b.size() + 1);
    for (size_t j = 0; j <= b.size(); j++) last[j] = j;
    for (size_t i = 1; i <= a.size(); i++) {
        row[0] = i;
        for (size_t j = 1; j <= b.size(); j++) {
            size_t cost = a[i - 1] == b[j - 1] ? 0 : 1;
            row[j] = std::min({last[j] + 1, row[j - 1] + 1, last[j - 1] + cost});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
                row[j] = std::min(row[j], before[j - 2] + 1);
        }
        std::swap(before, last);
        std::swap(last, row);
    }
    return last[b.size()];
}

} // namespace

const char* Nearest(const std::string& word, std::span<const char* const> candidates) {
    // a word longer than any keyword is no typing slip
    if (word.size() > 32) return nullptr;
    const char* best = nullptr;
    size_t best_distance = 3; // at most two edits away, and fewer than the word has bytes
    for (const char* c : candidates) {
        // no fewer edits than the lengths differ by
        size_t length = std::strlen(c);
        if ((length > word.size() ? length - word.size() : word.size() - length) >= best_distance) continue;
        size_t d = Distance(word, c);
        if (d < best_distance && d < word.size()) {
            best = c;
            best_distance = d;
        }
    }
    return best;
}
