// A map export that names files outside the event and a loopback address (in
// images, uses, CSS imports, external entities and XInclude): the built-in
// converter and the proof pictures draw the sheets without reading any of it,
// as strace shows, and no connection is made.
#include "support/demo_inputs.h"
#include "support/run_program.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace kib::test {
namespace {

namespace fs = std::filesystem;

// A listening loopback socket that counts the connections made to it.
class Listener {
  public:
    Listener() {
        fd_ = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (fd_ >= 0 && ::bind(fd_, reinterpret_cast<sockaddr*>(&address), length) == 0 &&
            ::listen(fd_, 16) == 0 &&
            ::getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &length) == 0) {
            port_ = ntohs(address.sin_port);
            ::fcntl(fd_, F_SETFL, O_NONBLOCK);
        }
    }
    ~Listener() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    Listener(const Listener&) = delete;
    Listener& operator=(const Listener&) = delete;

    int Port() const { return port_; }
    int Connections() const {
        int count = 0;
        for (int client; (client = ::accept(fd_, nullptr, nullptr)) >= 0; ++count) {
            ::close(client);
        }
        return count;
    }

  private:
    int fd_ = -1;
    int port_ = 0;
};

// Station 1's export with every outside reference: its prologue declares
// external entities, its first group holds the elements that name them.
std::string HostileExport(const std::string& map, const std::string& outside, int port) {
    const std::string net = "http://127.0.0.1:" + std::to_string(port) + "/";
    const std::string prologue =
        "<!-- Generator: OCAD -->\n<!DOCTYPE svg [\n<!ENTITY ext SYSTEM \"file://" + outside +
        "/secret.txt\">\n<!ENTITY net SYSTEM \"" + net + "entity.txt\">\n<!ENTITY % par SYSTEM \"" +
        net + "par.dtd\">\n<!ENTITY stR \"fill:none\">\n]>\n";
    const std::string elements =
        "<g id=\"hostile\">\n<style>@import url(\"file://" + outside +
        "/evil.css\"); @import url(\"" + net + "evil.css\"); @import url(\"../" +
        fs::path(outside).filename().string() +
        "/evil.css\");</style>\n<image x=\"0\" y=\"0\" width=\"260\" height=\"180\" "
        "href=\"file://" +
        outside +
        "/secret.png\"/>\n<image x=\"0\" y=\"0\" width=\"260\" height=\"180\" href=\"../" +
        fs::path(outside).filename().string() +
        "/secret.png\"/>\n<image x=\"0\" y=\"0\" width=\"260\" height=\"180\" href=\"" + net +
        "secret.png\"/>\n<use href=\"file://" + outside + "/defs.svg#x\"/>\n<use href=\"" + net +
        "defs.svg#x\"/>\n<text x=\"100\" y=\"90\" font-size=\"10\">&ext;&net;</text>\n"
        "<xi:include xmlns:xi=\"http://www.w3.org/2001/XInclude\" href=\"file://" +
        outside +
        "/secret.txt\" parse=\"text\"/>\n<xi:include "
        "xmlns:xi=\"http://www.w3.org/2001/XInclude\" href=\"" +
        net + "xi.txt\" parse=\"text\"/>\n</g>\n";
    const std::size_t firstLineEnd = map.find('\n') + 1;
    const std::size_t group = map.find("<g id=\"scaleTransform\"");
    const std::size_t groupEnd = map.find('\n', group) + 1;
    return map.substr(0, firstLineEnd) + prologue +
           map.substr(firstLineEnd, groupEnd - firstLineEnd) + elements + map.substr(groupEnd);
}

TEST(HostileExportsTest, DrawingReadsNothingOutsideTheEventAndConnectsNowhere) {
    if (!fs::exists("/usr/bin/strace")) {
        GTEST_SKIP() << "strace is not installed";
    }
    const std::string dir = CopyDemoToTempDir("e2e-hostile-exports");
    const std::string outside = MakeTempDir("e2e-hostile-secrets");
    WriteFile(outside + "/secret.txt", "SECRET-MARKER\n");
    WriteFile(outside + "/evil.css", "rect { fill: rgb(255,0,0) !important; }\n");
    WriteFile(outside + "/defs.svg", "<svg xmlns=\"http://www.w3.org/2000/svg\"><rect id=\"x\" "
                                     "width=\"100\" height=\"100\" fill=\"red\"/></svg>\n");
    WriteFile(outside + "/secret.png", std::string("\x89PNG\r\n\x1a\n", 8));
    Listener listener;
    ASSERT_GT(listener.Port(), 0);
    WriteFile(dir + "/Demo.S1.svg",
              HostileExport(ReadFile(dir + "/Demo.S1.svg"), outside, listener.Port()));

    const std::string cfg = dir + "/demo.cfg";
    const std::vector<std::vector<std::string>> runs = {
        {"images", cfg, "--format", "pdf", "--stations", "1", "--converter", "builtin"},
        {"images", cfg, "--format", "png", "--stations", "1", "--converter", "builtin"},
        {"solution-images", cfg, "--format", "pdf", "--stations", "1", "--converter", "builtin"},
        {"proof", cfg, "--stations", "1"},
    };
    for (const auto& run : runs) {
        SCOPED_TRACE(run[0] + " " + run[3]);
        const std::string trace = dir + "/strace.txt";
        std::vector<std::string> args = {
            "/usr/bin/strace", "-f",   "-qq", "-e", "trace=connect,openat", "-o", trace,
            KibBinary(),       "--yes"};
        args.insert(args.end(), run.begin(), run.end());
        const ProgramResult r = RunProgram(args);
        EXPECT_LT(r.status, 2) << r.out << r.err;
        const std::string calls = ReadFile(trace);
        ASSERT_NE(calls.find("openat("), std::string::npos) << "strace saw the run";
        EXPECT_EQ(calls.find(outside), std::string::npos) << calls;
        EXPECT_EQ(calls.find("127.0.0.1"), std::string::npos) << calls;
        EXPECT_EQ(calls.find("htons(" + std::to_string(listener.Port()) + ")"), std::string::npos)
            << calls;
        fs::remove(trace);
    }
    EXPECT_EQ(listener.Connections(), 0);
    // The sheet carries the export's lines; nothing drawn from them says the secret.
    EXPECT_NE(ReadFile(dir + "/map-1.1.svg").find("id=\"hostile\""), std::string::npos);
    for (const auto& entry : fs::recursive_directory_iterator(dir)) {
        const std::string ext = entry.path().extension().string();
        if (ext == ".pdf" || ext == ".png" || ext == ".html") {
            EXPECT_EQ(ReadFile(entry.path().string()).find("SECRET-MARKER"), std::string::npos)
                << entry.path();
        }
    }
    fs::remove_all(dir);
    fs::remove_all(outside);
}

} // namespace
} // namespace kib::test
