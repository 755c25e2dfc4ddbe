#include "foundation/content_digest.h"

#include "foundation/format.h"
#include "foundation/input_file.h"
#include "platform/files.h"

#include <cstring>
#include <vector>

namespace kib {

namespace {

// A 64-bit multiply-rotate digest over four lanes of eight bytes (the scheme of
// xxHash64), fast enough to digest every map export of an event at each run.
constexpr std::uint64_t kPrime1 = 0x9E3779B185EBCA87ULL;
constexpr std::uint64_t kPrime2 = 0xC2B2AE3D27D4EB4FULL;
constexpr std::uint64_t kPrime3 = 0x165667B19E3779F9ULL;
constexpr std::uint64_t kPrime4 = 0x85EBCA77C2B2AE63ULL;
constexpr std::uint64_t kPrime5 = 0x27D4EB2F165667C5ULL;

std::uint64_t Rotate(std::uint64_t v, int bits) {
    return (v << bits) | (v >> (64 - bits));
}

std::uint64_t Word64(const unsigned char* p) {
    std::uint64_t v = 0;
    for (int i = 7; i >= 0; --i) {
        v = (v << 8) | p[i];
    }
    return v;
}

std::uint64_t Word32(const unsigned char* p) {
    return static_cast<std::uint64_t>(p[0]) | static_cast<std::uint64_t>(p[1]) << 8 |
           static_cast<std::uint64_t>(p[2]) << 16 | static_cast<std::uint64_t>(p[3]) << 24;
}

std::uint64_t Round(std::uint64_t acc, std::uint64_t input) {
    return Rotate(acc + input * kPrime2, 31) * kPrime1;
}

std::uint64_t Merge(std::uint64_t acc, std::uint64_t lane) {
    return (acc ^ Round(0, lane)) * kPrime1 + kPrime4;
}

} // namespace

std::uint64_t DigestOf(std::string_view bytes, std::uint64_t seed) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const unsigned char* const end = p + bytes.size();
    std::uint64_t h = 0;
    if (bytes.size() >= 32) {
        std::uint64_t v1 = seed + kPrime1 + kPrime2;
        std::uint64_t v2 = seed + kPrime2;
        std::uint64_t v3 = seed;
        std::uint64_t v4 = seed - kPrime1;
        for (; end - p >= 32; p += 32) {
            v1 = Round(v1, Word64(p));
            v2 = Round(v2, Word64(p + 8));
            v3 = Round(v3, Word64(p + 16));
            v4 = Round(v4, Word64(p + 24));
        }
        h = Rotate(v1, 1) + Rotate(v2, 7) + Rotate(v3, 12) + Rotate(v4, 18);
        h = Merge(Merge(Merge(Merge(h, v1), v2), v3), v4);
    } else {
        h = seed + kPrime5;
    }
    h += static_cast<std::uint64_t>(bytes.size());
    for (; end - p >= 8; p += 8) {
        h = Rotate(h ^ Round(0, Word64(p)), 27) * kPrime1 + kPrime4;
    }
    if (end - p >= 4) {
        h = Rotate(h ^ (Word32(p) * kPrime1), 23) * kPrime2 + kPrime3;
        p += 4;
    }
    for (; p < end; ++p) {
        h = Rotate(h ^ (*p * kPrime5), 11) * kPrime1;
    }
    h ^= h >> 33;
    h *= kPrime2;
    h ^= h >> 29;
    h *= kPrime3;
    h ^= h >> 32;
    return h;
}

ContentFacts FileContentFacts(const std::string& path) {
    ContentFacts facts;
    std::string reason;
    platform::File file = OpenRegularFile(path, reason);
    if (!file.IsOpen()) {
        return facts;
    }
    // Digested a megabyte at a time, each piece continuing the digest before it;
    // a piece is filled whole, so that the digest never depends on how the
    // system splits the reads.
    std::vector<char> buffer(1 << 20);
    std::uint64_t digest = 0;
    std::int64_t size = 0;
    bool end = false;
    while (!end) {
        std::size_t got = 0;
        while (got < buffer.size()) {
            const long long n = file.Read(buffer.data() + got, buffer.size() - got);
            if (n < 0) {
                return facts;
            }
            if (n == 0) {
                end = true;
                break;
            }
            got += static_cast<std::size_t>(n);
        }
        if (got > 0) {
            digest = DigestOf(std::string_view(buffer.data(), got), digest);
            size += static_cast<std::int64_t>(got);
        }
    }
    facts.size = size;
    facts.digest = digest;
    return facts;
}

std::string DigestText(std::uint64_t digest) {
    return Format("%016llx", static_cast<unsigned long long>(digest));
}

bool ReadDigestText(std::string_view text, std::uint64_t& digest) {
    if (text.size() != 16) {
        return false;
    }
    std::uint64_t v = 0;
    for (char c : text) {
        int d = 0;
        if (c >= '0' && c <= '9') {
            d = c - '0';
        } else if (c >= 'a' && c <= 'f') {
            d = c - 'a' + 10;
        } else {
            return false;
        }
        v = (v << 4) | static_cast<std::uint64_t>(d);
    }
    digest = v;
    return true;
}

} // namespace kib
