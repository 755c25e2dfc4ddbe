#include "foundation/input_bytes.h"

#include "foundation/input_file.h"
#include "platform/files.h"

#include <algorithm>

namespace kib {

WholeRead ReadWholeInput(const std::string& path, std::size_t limit, InputBytes& into,
                         std::string& reason) {
    platform::File file = OpenRegularFile(path, reason);
    if (!file.IsOpen()) {
        return WholeRead::Failed;
    }
    InputBytes read;
    read.path = path;
    read.size = file.Size();
    if (read.size < 0 || !file.Stamp(read.stamp)) {
        reason = platform::ErrorText(file.Error());
        return WholeRead::Failed;
    }
    if (static_cast<std::uint64_t>(read.size) > limit) {
        return WholeRead::TooLarge;
    }
    // The file may grow while it is read: what is there until its end is read,
    // up to the limit.
    read.bytes.resize(static_cast<std::size_t>(read.size) + 1);
    std::size_t used = 0;
    for (;;) {
        if (used == read.bytes.size()) {
            if (used > limit) {
                return WholeRead::TooLarge;
            }
            read.bytes.resize(std::min(used * 2, limit + 1));
        }
        const long long n = file.Read(read.bytes.data() + used, read.bytes.size() - used);
        if (n < 0) {
            reason = platform::ErrorText(file.Error());
            return WholeRead::Failed;
        }
        if (n == 0) {
            break;
        }
        used += static_cast<std::size_t>(n);
    }
    read.bytes.resize(used);
    if (static_cast<std::int64_t>(used) != read.size) {
        // Changed while it was read: the next step reads it anew.
        read.size = -1;
    }
    reason.clear();
    into = std::move(read);
    return WholeRead::Read;
}

bool StillAsRead(const InputBytes& read, const std::string& path) {
    if (read.size < 0 || read.path != path || platform::FileSize(path) != read.size) {
        return false;
    }
    FileStamp stamp = 0;
    std::vector<std::string> notes;
    return ReadFileStamp(path, stamp, notes) && stamp == read.stamp;
}

InputBytesStream::Buffer::Buffer(const std::string& bytes) {
    // The get area only reads: the bytes are never written through it.
    char* data = const_cast<char*>(bytes.data());
    setg(data, data, data + bytes.size());
}

InputBytesStream::InputBytesStream(std::shared_ptr<const InputBytes> read)
    : read_(std::move(read)), buffer_(read_->bytes), stream_(&buffer_) {}

InputBytesStream::~InputBytesStream() {
    stream_.rdbuf(nullptr);
}

} // namespace kib
