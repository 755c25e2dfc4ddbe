#include "foundation/input_file.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kib {

namespace {

const char* KindOf(mode_t mode) {
    if (S_ISDIR(mode)) {
        return "a folder";
    }
    if (S_ISFIFO(mode)) {
        return "a FIFO (named pipe)";
    }
    if (S_ISCHR(mode)) {
        return "a character device";
    }
    if (S_ISBLK(mode)) {
        return "a block device";
    }
    if (S_ISSOCK(mode)) {
        return "a socket";
    }
    return S_ISREG(mode) ? "" : "not a file";
}

std::string NotRegularReason(mode_t mode) {
    return std::string("it is ") + KindOf(mode) + ", not a regular file";
}

} // namespace

// A read buffer over a file descriptor, which it closes.
class InputFile::Buffer : public std::streambuf {
  public:
    explicit Buffer(int fd) : fd_(fd) {}
    ~Buffer() override { ::close(fd_); }
    Buffer(const Buffer&) = delete;
    Buffer& operator=(const Buffer&) = delete;

  protected:
    int_type underflow() override {
        if (gptr() < egptr()) {
            return traits_type::to_int_type(*gptr());
        }
        ssize_t n;
        do {
            n = ::read(fd_, data_, sizeof data_);
        } while (n < 0 && errno == EINTR);
        if (n <= 0) {
            return traits_type::eof();
        }
        setg(data_, data_, data_ + n);
        return traits_type::to_int_type(*gptr());
    }

  private:
    int fd_;
    char data_[65536];
};

std::string NonRegularKind(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        return {};
    }
    return KindOf(info.st_mode);
}

bool IsRegularFile(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

int OpenRegularFile(const std::string& path, std::string& reason) {
    // O_NONBLOCK: opening a FIFO does not wait for a writer; the check below
    // then refuses it. O_NOCTTY: a terminal never becomes the controlling one.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        reason = std::strerror(errno);
        return -1;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        reason = std::strerror(errno);
        ::close(fd);
        return -1;
    }
    if (!S_ISREG(info.st_mode)) {
        reason = NotRegularReason(info.st_mode);
        ::close(fd);
        errno = S_ISDIR(info.st_mode) ? EISDIR : EINVAL;
        return -1;
    }
    // Reads of a regular file block as usual.
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    reason.clear();
    return fd;
}

InputFile::InputFile() : stream_(nullptr) {}

InputFile::~InputFile() {
    stream_.rdbuf(nullptr);
}

bool InputFile::Open(const std::string& path) {
    stream_.rdbuf(nullptr);
    buffer_.reset();
    notRegular_ = false;
    const int fd = OpenRegularFile(path, reason_);
    if (fd < 0) {
        notRegular_ = !NonRegularKind(path).empty();
        stream_.setstate(std::ios::failbit);
        return false;
    }
    buffer_ = std::make_unique<Buffer>(fd);
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
