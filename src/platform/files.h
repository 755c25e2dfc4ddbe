// Files as Kib needs them: opened in binary mode, never blocking on a FIFO or a
// device, written whole and flushed to the disk, created exclusively, and moved
// into place atomically. Errors are errno numbers (ENOENT, ENOSPC, EEXIST, ...)
// on every system, so that callers explain them the same way everywhere.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kib::platform {

enum class FileKind {
    Missing,
    Regular,
    Directory,
    Fifo,
    CharDevice,
    BlockDevice,
    Socket,
    Link, // only reported when links are not followed
    Other,
};

// An open file, closed by its destructor. Reads and writes are raw bytes.
class File {
  public:
    File() = default;
    ~File();
    File(File&& other) noexcept;
    File& operator=(File&& other) noexcept;
    File(const File&) = delete;
    File& operator=(const File&) = delete;

    bool IsOpen() const { return handle_ != kNone; }
    // The errno number of the last failed operation.
    int Error() const { return error_; }

    // Reads up to size bytes at the current position: the count, 0 at the
    // end, -1 on failure.
    long long Read(char* data, std::size_t size);
    // Reads exactly count bytes at offset; false when fewer are there.
    bool ReadAt(std::string& into, std::size_t count, std::int64_t offset);
    // Writes all of data at the current position.
    bool WriteAll(std::string_view data);
    // Replaces the whole content with data.
    bool ReplaceContent(std::string_view data);
    // Writes the file's data to the disk.
    bool FlushToDisk();
    // Starts writing the file's data to the disk without waiting for it, so that
    // a later FlushToDisk of many files finds most of it written (Linux); nothing
    // on Windows.
    void StartFlush();
    // Closes the file; false when the system reported an error (data that may
    // not have been written).
    bool Close();

    FileKind Kind() const;
    // The number of names (hard links) the file has; -1 when unknown.
    int LinkCount() const;
    // The size in bytes; -1 when unknown.
    std::int64_t Size() const;
    // The last-write time as 100 ns intervals since 1601-01-01 UTC.
    bool Stamp(std::uint64_t& stamp) const;
    // Gives this file the permissions of the file at path (Linux); nothing on Windows.
    void CopyPermissionsOf(const std::string& path);

  private:
    friend class FileOpener;
    static constexpr std::intptr_t kNone = -1;
    explicit File(std::intptr_t handle) : handle_(handle) {}

    std::intptr_t handle_ = kNone; // file descriptor or HANDLE
    int error_ = 0;
};

// Opens an existing file of any kind for reading without blocking on a FIFO
// and without making a terminal the controlling one. error gets the errno
// number on failure.
File OpenForReading(const std::string& path, int& error);
// Opens a regular file for reading; anything else is refused (error EISDIR for
// a folder, EINVAL for other kinds, kind says what is there).
File OpenRegularFile(const std::string& path, int& error, FileKind& kind);
// Opens an existing file for writing at its start, without following a link
// at the name and without blocking.
File OpenForWriting(const std::string& path, int& error);
// Opens a file for writing from its start, emptying it or creating it (as a
// plain write does, through a link at the name).
File CreateOrReplace(const std::string& path, int& error);
// Creates a new, empty file for writing: never through a link and never onto
// anything that is already at the name (error EEXIST).
File CreateExclusive(const std::string& path, int& error);

// What is at the path, following links or not.
FileKind KindOf(const std::string& path, bool followLinks = true);
// The size of the file at path; -1 when there is none.
std::int64_t FileSize(const std::string& path);

// The last-write time of the file at path (100 ns since 1601-01-01 UTC).
bool GetStamp(const std::string& path, std::uint64_t& stamp, int& error);
// Sets the last-access and last-write times of an existing file.
bool SetStamp(const std::string& path, std::uint64_t stamp, int& error);

// Moves from onto to in one step, replacing a file at to; the move is on the
// disk when this returns.
bool MoveReplacing(const std::string& from, const std::string& to, int& error);
// Moves from onto to in one step like MoveReplacing, but leaves making the move
// durable to FlushFolderOf, called once for many moves into one folder.
bool MoveReplacingUnflushed(const std::string& from, const std::string& to, int& error);
// Moves from to the name to unless something is there (error EEXIST), in one
// step: the file never has both names at once.
bool MoveWithoutReplacing(const std::string& from, const std::string& to, int& error);
// Removes a file (a link itself, not what it names).
bool RemoveFile(const std::string& path, int& error);
// Writes the data of the file at path to the disk.
bool FlushFileToDisk(const std::string& path, int& error);
// Makes the moves into the folder of path durable where the system needs it;
// failures are ignored.
void FlushFolderOf(const std::string& path);

// Whether the file at path may be written by this user.
bool IsWritable(const std::string& path);
// The file a link at path names in the end; path itself when it is no link.
std::string ResolveLinks(const std::string& path);
// The names in a folder ("." and ".." left out), in the system's order; empty
// when it cannot be read.
std::vector<std::string> ListFolder(const std::string& folder);
// Creates the folder and the missing folders above it; true when it is there.
bool CreateFolders(const std::string& path, int& error);
// Creates a new folder of this user's alone (mode 0700; on Windows the user's
// temporary folder is private) in the temporary folder, for a program that
// writes a file by its name: no one else can put anything at a name in it.
// Its path without a final separator; empty with the error when it cannot be made.
std::string CreatePrivateFolder(int& error);
// Removes an empty folder.
bool RemoveFolder(const std::string& path, int& error);

// The system's text for an errno number.
std::string ErrorText(int error);

// What a failed file operation's errno number means, for messages.
enum class ErrorKind {
    NoSpace,
    QuotaExceeded,
    ReadOnly,
    NoFolder,
    NotFolder,
    Denied,
    Exists,
    InputOutput,
    Other,
};
ErrorKind KindOfError(int error);

} // namespace kib::platform
