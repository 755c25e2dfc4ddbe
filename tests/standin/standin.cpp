// kib_standin: a small program that stands in for the programs Kib runs. It
// does what its arguments say, in order, so that the tests of the process
// runner see output, errors, time-outs and program trees; given a converter's
// command line it writes a small complete file of the asked format, so that
// whole conversion runs can be tested where Inkscape is not installed.
//
//   --out TEXT | --err TEXT   TEXT and a line end on standard output or error
//   --bytes N                 N letters "a" on standard output
//   --echo-args               every argument as "[argument]", one a line
//   --stdin                   "stdin: end" when standard input is empty, else "stdin: data"
//   --terminals               "terminals: in=I out=O err=E", 1 for a terminal
//   --sleep MS                waits MS milliseconds
//   --write-pid FILE          writes its process id into FILE
//   --spawn-sleeper FILE      runs another stand-in that writes its id into FILE
//                             and sleeps for a minute, and waits for it
//   --exit N                  ends with exit code N
//   --version                 "Inkscape 1.2.2 (Kib stand-in)"
// A converter's command line: "--export-filename=TARGET" (or the old dialect's
// "--export-pdf=TARGET" and the like) makes it write TARGET after checking that
// the source ("SOURCE.svg" or "--file=SOURCE.svg") exists.
#include "platform/environment.h"
#include "platform/files.h"
#include "platform/process.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

namespace {

using kib::platform::StandardStream;

void Write(std::FILE* stream, const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), stream);
    std::fflush(stream);
}

bool WriteFile(const std::string& path, const std::string& content) {
    int error = 0;
    kib::platform::RemoveFile(path, error);
    kib::platform::File file = kib::platform::CreateExclusive(path, error);
    return file.IsOpen() && file.WriteAll(content) && file.Close();
}

std::string Extension(const std::string& path) {
    const std::size_t dot = path.rfind('.');
    return dot == std::string::npos ? std::string() : path.substr(dot + 1);
}

// The smallest files that pass Kib's completeness checks of their formats.
std::string ConvertedContent(const std::string& extension, const std::string& source) {
    if (extension == "pdf") {
        const std::string body = "%PDF-1.4\n% converted from " + source + "\n";
        return body + "xref\n0 1\n0000000000 65535 f \ntrailer\n<< /Size 1 >>\nstartxref\n" +
               std::to_string(body.size()) + "\n%%EOF\n";
    }
    if (extension == "png") {
        return std::string("\x89PNG\r\n\x1a\n", 8) + "converted from " + source +
               std::string("\0\0\0\0IEND\xae\x42\x60\x82", 12);
    }
    return "%!PS-Adobe-3.0\n% converted from " + source + "\n%%EOF\n";
}

// Converts as a converter's command line asks; 0 when it has none.
int Convert(const std::vector<std::string>& args, bool& asked) {
    std::string target;
    std::string source;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a.rfind("--export-filename=", 0) == 0) {
            target = a.substr(18);
        } else if (a.rfind("--file=", 0) == 0) {
            source = a.substr(7);
        } else if (a.rfind("--export-", 0) == 0 && a.find('=') != std::string::npos &&
                   a.rfind("--export-id=", 0) != 0 && a.rfind("--export-dpi=", 0) != 0) {
            target = a.substr(a.find('=') + 1);
        } else if (a.size() > 4 && a.compare(a.size() - 4, 4, ".svg") == 0 && a[0] != '-') {
            source = a;
        }
    }
    asked = !target.empty();
    if (!asked) {
        return 0;
    }
    if (source.empty() || kib::platform::KindOf(source) != kib::platform::FileKind::Regular) {
        Write(stderr, "stand-in: cannot open the source '" + source + "'\n");
        return 1;
    }
    if (!WriteFile(target, ConvertedContent(Extension(target), source))) {
        Write(stderr, "stand-in: cannot write '" + target + "'\n");
        return 1;
    }
    Write(stdout, "stand-in: converted " + source + " to " + target + "\n");
    return 0;
}

int Run(const std::vector<std::string>& args) {
    int exitCode = 0;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& a = args[i];
        const std::string value = i + 1 < args.size() ? args[i + 1] : std::string();
        if (a == "--out") {
            Write(stdout, value + "\n");
            ++i;
        } else if (a == "--err") {
            Write(stderr, value + "\n");
            ++i;
        } else if (a == "--bytes") {
            Write(stdout, std::string(std::strtoul(value.c_str(), nullptr, 10), 'a'));
            ++i;
        } else if (a == "--echo-args") {
            for (std::size_t k = 1; k < args.size(); ++k) {
                Write(stdout, "[" + args[k] + "]\n");
            }
        } else if (a == "--stdin") {
            Write(stdout, std::fgetc(stdin) == EOF ? "stdin: end\n" : "stdin: data\n");
        } else if (a == "--terminals") {
            using kib::platform::IsTerminal;
            Write(stdout, "terminals: in=" + std::to_string(IsTerminal(StandardStream::Input)) +
                              " out=" + std::to_string(IsTerminal(StandardStream::Output)) +
                              " err=" + std::to_string(IsTerminal(StandardStream::Error)) + "\n");
        } else if (a == "--sleep") {
            std::this_thread::sleep_for(std::chrono::milliseconds(std::atoi(value.c_str())));
            ++i;
        } else if (a == "--write-pid") {
            WriteFile(value, std::to_string(kib::platform::ProcessId()));
            ++i;
        } else if (a == "--spawn-sleeper") {
            kib::platform::RunProcess(args[0], {"--write-pid", value, "--sleep", "60000"}, 120,
                                      nullptr);
            ++i;
        } else if (a == "--exit") {
            exitCode = std::atoi(value.c_str());
            ++i;
        } else if (a == "--version") {
            Write(stdout, "Inkscape 1.2.2 (Kib stand-in)\n");
        }
    }
    return exitCode;
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args = kib::platform::ProgramArguments(argc, argv);
    bool converting = false;
    const int converted = Convert(args, converting);
    return converting ? converted : Run(args);
}
