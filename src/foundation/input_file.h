// Reading the files organisers hand to Kib (configuration, map exports, courses
// file) and the sheets it wrote before. Only a regular file is opened, and the
// opening never blocks: a FIFO or a device at the name would otherwise hang the
// program where not even Stop or Ctrl+C reach it. Lines are read up to a bound,
// so that a file without line ends (a device, a damaged or sparse file) cannot
// grow one line until the memory runs out.
#pragma once

#include "platform/files.h"

#include <cstddef>
#include <istream>
#include <memory>
#include <streambuf>
#include <string>

namespace kib {

// The longest line Kib reads: 64 MiB. No map export, courses file or
// configuration comes near it (an OCAD export writes one element per line; an
// embedded raster image is a few megabytes at most).
inline constexpr std::size_t kMaxLineBytes = std::size_t{64} << 20;

// What is at a path that is not a regular file ("a FIFO (named pipe)",
// "a folder", "a character device", ...), empty for a regular file or nothing.
std::string NonRegularKind(const std::string& path);

// Whether the path names a regular file (through links).
bool IsRegularFile(const std::string& path);

// Opens a regular file for reading without blocking: the open file, or none
// with reason set ("No such file or directory", "it is a FIFO (named pipe), not
// a regular file", ...).
platform::File OpenRegularFile(const std::string& path, std::string& reason);

// An open input file as a stream.
class InputFile {
  public:
    InputFile();
    ~InputFile();
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    // False when path names no regular file that can be read; Reason() says why
    // and NotRegular() tells whether something else than a regular file is there.
    bool Open(const std::string& path);
    std::istream& Stream() { return stream_; }
    const std::string& Reason() const { return reason_; }
    bool NotRegular() const { return notRegular_; }

  private:
    class Buffer;
    std::unique_ptr<Buffer> buffer_;
    std::istream stream_;
    std::string reason_;
    bool notRegular_ = false;
};

enum class LineRead {
    Line,    // a line (the line feed is not part of it)
    End,     // no more lines
    TooLong, // the line is longer than the limit; reading should stop
};

// Reads one line up to a line feed, at most limit bytes; a last line without a
// line feed is a line (the stream's eof flag is then set). A carriage return is
// kept: the readers drop it themselves.
LineRead ReadBoundedLine(std::istream& in, std::string& line, std::size_t limit = kMaxLineBytes);

} // namespace kib
