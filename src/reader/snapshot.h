// Snapshots: the story's whole state at one moment, kept in memory so that the reader can go back
// to it. A snapshot is a save's state entries; the large ones (the pictures, the script) are
// deflated once and shared by every snapshot that holds the same bytes, so that a page costs about
// what changed on it.
#pragma once

#include "reader.h"

#include <memory>
#include <string>
#include <utility>
#include <vector>

struct Blob; // deflated bytes, shared

struct Snapshot {
    std::string small;                                                      // the small entries
    std::vector<std::pair<std::string, std::shared_ptr<const Blob>>> large; // name and shared bytes
    // The memory the snapshot holds, shared bytes counted whole.
    size_t bytes() const;
};

// The deflated bytes a blob holds.
size_t Blob_bytes(const Blob& blob);

// The story's state now; false (and *out empty) when memory was refused.
bool Snapshot_take(Snapshot* out);
// Makes the snapshot the story's state, as a restore would: nullptr, else the reason (CP932) and
// the story untouched. With follow, its place is carried into its script as it now is, as
// Restore_state carries it.
const char* Snapshot_restore(const Snapshot& snapshot, Followed* follow = nullptr);
