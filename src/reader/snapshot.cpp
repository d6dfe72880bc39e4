// Snapshots in memory: a save's state entries with the large ones deflated and shared by content.
#include "snapshot.h"
#include "save_entries.h"
#include "save_format.h"

#include <zlib.h>

#include <cstring>
#include <new>
#include <unordered_map>

struct Blob {
    uint64_t hash;
    uint32_t crc, size;
    std::string deflated;
};

namespace {

constexpr size_t LARGE_ENTRY = 4096; // a picture or the script; the fields are far smaller

// The blobs alive, by the hash of their bytes: a snapshot that holds the same bytes shares one.
std::unordered_map<uint64_t, std::weak_ptr<const Blob>> blobs;

uint64_t Hash(std::string_view bytes) {
    uint64_t h = 0x9E3779B97F4A7C15u ^ bytes.size();
    size_t at = 0;
    for (; at + 8 <= bytes.size(); at += 8) {
        uint64_t word;
        std::memcpy(&word, bytes.data() + at, 8);
        h = (h ^ word) * 0xFF51AFD7ED558CCDu;
        h ^= h >> 32;
    }
    for (; at < bytes.size(); at++) h = (h ^ (unsigned char)bytes[at]) * 0x100000001B3u;
    return h;
}

// The bytes deflated at the fastest level (a page's picture is deflated while the reader waits for
// its text), into a buffer that grows as the output does: never a whole picture's worth at once.
std::string Deflate(std::string_view bytes) {
    z_stream z{};
    if (deflateInit(&z, 1) != Z_OK) throw std::bad_alloc();
    std::string out;
    z.next_in = (Bytef*)bytes.data();
    z.avail_in = (uInt)bytes.size();
    int status = Z_OK;
    while (status == Z_OK) {
        size_t at = out.size();
        out.resize(at + 64 * 1024);
        z.next_out = (Bytef*)out.data() + at;
        z.avail_out = 64 * 1024;
        status = deflate(&z, Z_FINISH);
        out.resize(out.size() - z.avail_out);
    }
    deflateEnd(&z);
    if (status != Z_STREAM_END) throw std::bad_alloc();
    out.shrink_to_fit();
    return out;
}

// The shared blob of these bytes: one alive already, else a new one deflated.
std::shared_ptr<const Blob> Share(std::string_view bytes) {
    uint64_t hash = Hash(bytes);
    uint32_t crc = (uint32_t)crc32(0, (const Bytef*)bytes.data(), (uInt)bytes.size());
    auto found = blobs.find(hash);
    if (found != blobs.end())
        if (auto blob = found->second.lock(); blob && blob->crc == crc && blob->size == bytes.size())
            return blob;
    auto blob = std::make_shared<Blob>(Blob{hash, crc, (uint32_t)bytes.size(), Deflate(bytes)});
    // the blobs no snapshot holds any longer go as the table is used
    if (blobs.size() > 64) std::erase_if(blobs, [](const auto& entry) { return entry.second.expired(); });
    blobs[hash] = blob;
    return blob;
}

} // namespace

size_t Blob_bytes(const Blob& blob) { return blob.deflated.size(); }

size_t Snapshot::bytes() const {
    size_t total = small.size();
    for (const auto& [name, blob] : large) total += name.size() + blob->deflated.size();
    return total;
}

bool Snapshot_take(Snapshot* out) {
    *out = Snapshot{};
    try {
        // the pictures are read where they lie: no copy of the whole state is made
        std::string fields = Save_fields(GetTickCount());
        Entries entries;
        if (!Read_entries(fields, &entries)) return false;
        for (const auto& [name, bytes] : entries) {
            if (bytes.size() < LARGE_ENTRY)
                Put_entry(out->small, name, bytes.data(), bytes.size());
            else
                out->large.emplace_back(std::string(name), Share(bytes));
        }
        for (const Surface_slot& slot : surface_slots)
            if (std::string_view pixels = Save_picture(slot); !pixels.empty())
                out->large.emplace_back(slot.name, Share(pixels));
        return true;
    } catch (const std::bad_alloc&) {
        *out = Snapshot{};
        return false;
    }
}

const char* Snapshot_restore(const Snapshot& snapshot, Followed* follow) {
    const char* refused = Sjis("メモリが足りないため戻れません");
    try {
        std::string state = snapshot.small, bytes;
        for (const auto& [name, blob] : snapshot.large) {
            bytes.resize(blob->size);
            uLongf size = blob->size;
            if (uncompress((Bytef*)bytes.data(), &size, (const Bytef*)blob->deflated.data(),
                           blob->deflated.size()) != Z_OK ||
                size != blob->size)
                return refused;
            Put_entry(state, name, bytes.data(), bytes.size());
        }
        // a snapshot is whole: what refuses it is a place lost in the new text, else the memory
        if (const char* why = Restore_state(state, GetTickCount(), follow))
            return follow && follow->why != Kept::NONE ? why : refused;
        return nullptr;
    } catch (const std::bad_alloc&) {
        return refused;
    }
}
