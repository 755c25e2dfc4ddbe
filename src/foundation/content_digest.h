// Digests of contents: a 64-bit number that changes when any byte of the content
// changes, to tell whether an input of a run is still what it was. Not a
// protection against someone who wants two contents with one digest; an edit,
// a new export or a file cut off changes it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kib {

// The digest of bytes, continuing from seed (a digest of the bytes before).
std::uint64_t DigestOf(std::string_view bytes, std::uint64_t seed = 0);

// What a file held when it was read: its size and the digest of its bytes; size
// -1 when it is missing or could not be read whole (a folder, a FIFO, no right).
struct ContentFacts {
    std::int64_t size = -1;
    std::uint64_t digest = 0;

    bool operator==(const ContentFacts&) const = default;
};

// Reads the regular file at path and digests it.
ContentFacts FileContentFacts(const std::string& path);

// The digest as 16 lower-case hexadecimal digits, and back; false when text is
// not such a number.
std::string DigestText(std::uint64_t digest);
bool ReadDigestText(std::string_view text, std::uint64_t& digest);

} // namespace kib
