// An exclusive lock on a file, held while the file is open: two processes that
// lock the same file take turns, and a lock ends when its process ends, however
// it ends. The locked file stays readable and writable by others, so that it can
// name the process that holds it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace kib::platform {

class FileLock {
  public:
    enum class Try { Locked, Busy, Failed };

    FileLock() = default;
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    // Opens the file at path, creating it when it is missing, without following
    // a link at the name and without blocking. False with the errno number in
    // error when no regular file can be opened there (EINVAL for another kind,
    // EMLINK for a file with more than one name: a hard link of another file).
    bool Open(const std::string& path, int& error);
    // Opens the existing file at path as Open does, without creating one
    // (ENOENT when nothing is there).
    bool OpenExisting(const std::string& path, int& error);
    // Takes the lock without waiting: Busy while another process holds it.
    Try TryLock(int& error);
    // Whether the open file is still the one at path (not removed or replaced).
    bool IsAt(const std::string& path) const;
    // The first bytes of the file, at most maxBytes.
    std::string ReadText(std::size_t maxBytes) const;
    // Replaces the content of the file with text; failures are ignored.
    void WriteText(const std::string& text);
    // Removes the file's name while the lock is still held, then closes it: a
    // process waiting on the same file finds it gone once it has the lock.
    void RemoveAndClose(const std::string& path);
    // Closes the file, which ends the lock.
    void Close();
    bool IsOpen() const { return handle_ != kNone; }

  private:
    bool OpenWith(const std::string& path, bool create, int& error);

    static constexpr std::intptr_t kNone = -1;
    std::intptr_t handle_ = kNone;
};

} // namespace kib::platform
