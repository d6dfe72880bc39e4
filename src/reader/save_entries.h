// A save's state body: named entries, each its name, its length and its bytes, so that a reader takes
// the entries it knows; and the first format's body, the same fields untagged, read as such entries.
#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <string_view>

// A body's entries by name, viewing into the body.
using Entries = std::map<std::string_view, std::string_view>;

// Appends one entry: the name's length (one byte) and the name, then the data's length (four bytes)
// and the data.
void Put_entry(std::string& body, std::string_view name, const void* data, size_t size);
// The body's entries; false when one runs past the end, has no name, or comes twice.
bool Read_entries(std::string_view body, Entries* entries);
// The entries that lie whole in the front of a body, up to the first that runs past its end.
void Read_front_entries(std::string_view front, Entries* entries);
// A first-format body (every field in one fixed order, untagged, then each picture behind a byte
// that says whether it is alive) as a body of entries; false when it is not one.
bool First_format_body(std::string_view old, std::string* body);
