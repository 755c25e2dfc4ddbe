// An input file read whole into memory, with the size and time it had when it
// was read, so that the steps of one command can share one read of it: a later
// step asks the file system (a stat, no open) whether the file is still the same
// and reads it anew when it is not.
#pragma once

#include "foundation/file_stamp.h"

#include <cstddef>
#include <cstdint>
#include <istream>
#include <memory>
#include <streambuf>
#include <string>

namespace kib {

struct InputBytes {
    std::string path;
    std::int64_t size = -1;
    FileStamp stamp = 0;
    std::string bytes;
};

enum class WholeRead {
    Read,     // the file is in memory
    Failed,   // it could not be opened or read: the reason says why
    TooLarge, // it is larger than the limit (nothing is kept)
};

// Reads the regular file at path whole, taking its size and time from the open
// file. Opened like every input file (OpenRegularFile): never blocking, only a
// regular file.
WholeRead ReadWholeInput(const std::string& path, std::size_t limit, InputBytes& into,
                         std::string& reason);

// Whether the file at path is still the one that was read: same path, size and time.
bool StillAsRead(const InputBytes& read, const std::string& path);

// A stream over bytes read before; it keeps them while it lives.
class InputBytesStream {
  public:
    explicit InputBytesStream(std::shared_ptr<const InputBytes> read);
    ~InputBytesStream();
    InputBytesStream(const InputBytesStream&) = delete;
    InputBytesStream& operator=(const InputBytesStream&) = delete;

    std::istream& Stream() { return stream_; }

  private:
    class Buffer : public std::streambuf {
      public:
        explicit Buffer(const std::string& bytes);
    };
    std::shared_ptr<const InputBytes> read_;
    Buffer buffer_;
    std::istream stream_;
};

} // namespace kib
