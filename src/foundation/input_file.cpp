#include "foundation/input_file.h"

#include "foundation/app_state.h"

namespace kib {

namespace {

using platform::FileKind;

const char* KindText(FileKind kind) {
    switch (kind) {
    case FileKind::Regular:
    case FileKind::Missing:
        return "";
    case FileKind::Directory:
        return "a folder";
    case FileKind::Fifo:
        return "a FIFO (named pipe)";
    case FileKind::CharDevice:
        return "a character device";
    case FileKind::BlockDevice:
        return "a block device";
    case FileKind::Socket:
        return "a socket";
    case FileKind::Link:
    case FileKind::Other:
        break;
    }
    return "not a file";
}

std::string NotRegularReason(FileKind kind) {
    return std::string("it is ") + KindText(kind) + ", not a regular file";
}

} // namespace

// A read buffer over an open file, which it closes.
class InputFile::Buffer : public std::streambuf {
  public:
    explicit Buffer(platform::File file) : file_(std::move(file)) {}

  protected:
    int_type underflow() override {
        if (gptr() < egptr()) {
            return traits_type::to_int_type(*gptr());
        }
        const long long n = file_.Read(data_, sizeof data_);
        if (n <= 0) {
            return traits_type::eof();
        }
        setg(data_, data_, data_ + n);
        return traits_type::to_int_type(*gptr());
    }

  private:
    platform::File file_;
    char data_[65536];
};

std::string NonRegularKind(const std::string& path) {
    return KindText(platform::KindOf(path));
}

bool IsRegularFile(const std::string& path) {
    return platform::KindOf(path) == FileKind::Regular;
}

platform::File OpenRegularFile(const std::string& path, std::string& reason) {
    // Opened without blocking on a FIFO, which is then refused, and without a
    // terminal becoming the controlling one.
    int error = 0;
    FileKind kind = FileKind::Missing;
    App().inputOpens.Count(path);
    platform::File file = platform::OpenRegularFile(path, error, kind);
    if (!file.IsOpen()) {
        reason = kind != FileKind::Regular && kind != FileKind::Missing
                     ? NotRegularReason(kind)
                     : platform::ErrorText(error);
        return file;
    }
    reason.clear();
    return file;
}

InputFile::InputFile() : stream_(nullptr) {}

InputFile::~InputFile() {
    stream_.rdbuf(nullptr);
}

bool InputFile::Open(const std::string& path) {
    stream_.rdbuf(nullptr);
    buffer_.reset();
    notRegular_ = false;
    platform::File file = OpenRegularFile(path, reason_);
    if (!file.IsOpen()) {
        notRegular_ = !NonRegularKind(path).empty();
        stream_.setstate(std::ios::failbit);
        return false;
    }
    buffer_ = std::make_unique<Buffer>(std::move(file));
    stream_.rdbuf(buffer_.get()); // also clears the state
    return true;
}

LineRead ReadBoundedLine(std::istream& in, std::string& line, std::size_t limit) {
    line.clear();
    std::streambuf* buffer = in.rdbuf();
    if (!buffer || !in.good()) {
        in.setstate(std::ios::failbit);
        return LineRead::End;
    }
    for (;;) {
        const int c = buffer->sbumpc();
        if (c == std::char_traits<char>::eof()) {
            if (line.empty()) {
                in.setstate(std::ios::eofbit | std::ios::failbit);
                return LineRead::End;
            }
            in.setstate(std::ios::eofbit);
            return LineRead::Line;
        }
        if (c == '\n') {
            return LineRead::Line;
        }
        if (line.size() >= limit) {
            return LineRead::TooLong;
        }
        line.push_back(static_cast<char>(c));
    }
}

} // namespace kib
