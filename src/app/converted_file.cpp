#include "app/converted_file.h"

#include "foundation/app_state.h"
#include "foundation/input_file.h"
#include "foundation/log.h"

#include "platform/files.h"

#include <algorithm>
#include <cstdio>
#include <string_view>

namespace kib {

namespace {

// Bytes looked at from the end of a file: a PDF's trailer and a PostScript
// trailer fit in far less.
constexpr std::size_t kTailSize = 1024;

constexpr std::string_view kPngSignature{"\x89PNG\r\n\x1a\n", 8};
// An empty IEND chunk: length 0, the type, its CRC.
constexpr std::string_view kPngEnd{"\0\0\0\0IEND\xae\x42\x60\x82", 12};

// The beginning and the end of a regular file.
struct FileEnds {
    long long size = -1; // -1: no regular file could be read
    std::string head;
    std::string tail;
    long long tailStart = 0;
};

// Opened without following a link at the name and without blocking on a FIFO;
// only a regular file.
platform::File OpenConverted(const std::string& path) {
    int error = 0;
    platform::FileKind kind = platform::FileKind::Missing;
    if (platform::KindOf(path, false) != platform::FileKind::Regular) {
        return platform::File();
    }
    return platform::OpenRegularFile(path, error, kind);
}

FileEnds ReadEnds(const std::string& path) {
    FileEnds ends;
    platform::File file = OpenConverted(path);
    if (!file.IsOpen()) {
        return ends;
    }
    const std::int64_t size = file.Size();
    if (size < 0) {
        return ends;
    }
    const auto tailSize = static_cast<std::size_t>(std::min<long long>(size, kTailSize));
    ends.tailStart = size - static_cast<long long>(tailSize);
    if (file.ReadAt(ends.head, std::min<std::size_t>(tailSize, 16), 0) &&
        file.ReadAt(ends.tail, tailSize, ends.tailStart)) {
        ends.size = size;
    }
    return ends;
}

// The text without the blanks and line ends that may follow a last line.
std::string_view TrimEnd(std::string_view text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ' ||
                             text.back() == '\t' || text.back() == '\0')) {
        text.remove_suffix(1);
    }
    return text;
}

bool EndsWithEof(const FileEnds& ends) {
    return TrimEnd(ends.tail).ends_with("%%EOF");
}

// The offset after "startxref" must point at a cross-reference table ("xref") or
// a cross-reference stream object ("12 0 obj") inside the file.
bool HasCrossReference(const std::string& path, const FileEnds& ends) {
    const std::size_t at = ends.tail.rfind("startxref");
    if (at == std::string::npos) {
        return false;
    }
    long long offset = -1;
    if (std::sscanf(ends.tail.c_str() + at + 9, "%lld", &offset) != 1 || offset < 0 ||
        offset >= ends.size) {
        return false;
    }
    platform::File file = OpenConverted(path);
    std::string text;
    if (!file.IsOpen() ||
        !file.ReadAt(text, static_cast<std::size_t>(std::min<long long>(32, ends.size - offset)),
                     offset)) {
        return false;
    }
    if (text.starts_with("xref")) {
        return true;
    }
    int object = 0, generation = 0, length = 0;
    return std::sscanf(text.c_str(), "%d %d obj%n", &object, &generation, &length) == 2 &&
           length > 0;
}

} // namespace

std::string IncompleteReason(const std::string& path, const std::string& extension) {
    const FileEnds ends = ReadEnds(path);
    if (ends.size < 0) {
        return "no file was written";
    }
    if (ends.size == 0) {
        return "the file is empty";
    }
    if (extension == "pdf") {
        if (!ends.head.starts_with("%PDF-")) {
            return "it is not a PDF file";
        }
        if (!EndsWithEof(ends)) {
            return "the PDF file is cut off (no %%EOF at its end)";
        }
        if (!HasCrossReference(path, ends)) {
            return "the PDF file has no cross-reference";
        }
        return {};
    }
    if (extension == "png") {
        if (!ends.head.starts_with(kPngSignature)) {
            return "it is not a PNG file";
        }
        if (!ends.tail.ends_with(kPngEnd)) {
            return "the PNG file is cut off (no IEND chunk at its end)";
        }
        return {};
    }
    if (extension == "ps" || extension == "eps") {
        if (!ends.head.starts_with("%!PS")) {
            return "it is not a PostScript file";
        }
        if (!EndsWithEof(ends)) {
            return "the PostScript file is cut off (no %%EOF at its end)";
        }
        return {};
    }
    return "its format '" + extension + "' is unknown";
}

bool BeginConvertedFile(const std::string& target, const std::string& temporary, AtomicFile& file) {
    if (!file.BeginAt(target, temporary)) {
        App().Log().Error("Cannot write file %s: %s", temporary.c_str(), file.Reason().c_str());
        return false;
    }
    return true;
}

bool PlaceConvertedFile(const std::string& sheet, AtomicFile& file, const std::string& extension,
                        const std::string& failure) {
    const std::string& target = file.Target();
    std::string reason = failure;
    const std::string kind = NonRegularKind(target);
    if (reason.empty() && !kind.empty()) {
        reason = "'" + target + "' is " + kind + ", not a regular file";
    }
    if (reason.empty() && !file.Commit([&extension](const std::string& path) {
            return IncompleteReason(path, extension);
        })) {
        if (file.Failed() == AtomicFile::Failure::Move) {
            App().Log().Error("Renaming map to %s failed, err=%d (%s)", target.c_str(),
                              file.Error(), platform::ErrorText(file.Error()).c_str());
            return false;
        }
        reason = file.Failed() == AtomicFile::Failure::Check
                     ? file.Reason()
                     : "it could not be written to the disk: " + file.Reason();
    }
    if (!reason.empty()) {
        file.Abandon();
        App().Log().Error("Converting '%s' failed: %s. '%s' was not replaced.", sheet.c_str(),
                          reason.c_str(), target.c_str());
        return false;
    }
    return true;
}

} // namespace kib
