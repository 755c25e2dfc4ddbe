// A map export that names files outside the event and a loopback address (in
// images, uses, CSS imports and external entities): the built-in converter and
// the proof pictures draw the sheets without reading any of it, as strace shows,
// and no connection is made. An export that nests too deep, declares entities
// that expand too far or names XInclude in any spelling is refused before
// anything draws it.
#include "support/demo_inputs.h"
#include "support/run_program.h"

#include <gtest/gtest.h>
#include <pugixml.hpp>

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

// The export with a prologue after its first line and elements at the start
// of its scale group.
std::string WithLines(const std::string& map, const std::string& prologue,
                      const std::string& elements) {
    const std::size_t firstLineEnd = map.find('\n') + 1;
    const std::size_t group = map.find("<g id=\"scaleTransform\"");
    const std::size_t groupEnd = map.find('\n', group) + 1;
    return map.substr(0, firstLineEnd) + prologue +
           map.substr(firstLineEnd, groupEnd - firstLineEnd) + elements + map.substr(groupEnd);
}

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
        "defs.svg#x\"/>\n<text x=\"100\" y=\"90\" font-size=\"10\">&ext;&net;</text>\n</g>\n";
    return WithLines(map, prologue, elements);
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

// The station of the proof page as XML: its mark ("mark red").
std::string ProofMark(const std::string& page, int station) {
    const std::size_t body = page.find("<body>");
    const std::size_t end = page.find("</body>");
    pugi::xml_document xml;
    if (body == std::string::npos || end == std::string::npos ||
        !xml.load_string(page.substr(body, end + 7 - body).c_str())) {
        return "no page";
    }
    return xml
        .select_node(
            ("//section[@id='station-" + std::to_string(station) + "']/h2/span/@class").c_str())
        .attribute()
        .value();
}

// A run with its address space capped at 1 GiB where prlimit is there: a run
// that tried to expand a bomb would end in an allocation failure.
ProgramResult Capped(std::vector<std::string> args) {
    if (fs::exists("/usr/bin/prlimit")) {
        args.insert(args.begin(), {"/usr/bin/prlimit", "--as=1073741824"});
    }
    return RunProgram(args);
}

// Exports that once crashed the drawing (2,000 nested groups), took 32 s and
// 1.5 GB to pass as success (an entity bomb in the line style the sheets copy)
// or printed the event's configuration on the map (XInclude with its namespace
// spelled through a character reference or two entities). Each is refused with
// an error that names the export and its line; the run and the proof fail, and
// no sheet, converted file or temporary file of the station is left.
TEST(HostileExportsTest, ExportsBeyondTheBoundsAreRefusedBeforeAnythingDrawsThem) {
    std::string nested;
    for (int i = 0; i < 2000; ++i) {
        nested += "<g>";
    }
    for (int i = 0; i < 2000; ++i) {
        nested += "</g>";
    }
    std::string bomb = "<!DOCTYPE svg [\n<!ENTITY a0 \"stroke:none;\">\n";
    for (int i = 1; i <= 9; ++i) {
        bomb += "<!ENTITY a" + std::to_string(i) + " \"";
        for (int k = 0; k < 10; ++k) {
            bomb += "&a" + std::to_string(i - 1) + ";";
        }
        bomb += "\">\n";
    }
    bomb += "<!ENTITY stR \"&a9;\">\n]>\n";
    const std::string include = " href=\"demo.cfg\" parse=\"text\"/>\n";
    struct Case {
        const char* what;
        std::string prologue;
        std::string elements;
        int line;
        std::string problem;
    };
    const std::vector<Case> cases = {
        {"nested groups", "", nested + "\n", 5, "nests elements deeper than 200 levels"},
        {"entity bomb", bomb, "", 7,
         "declares the entity 'a4', which expands to more than 65536 bytes"},
        {"character reference", "",
         "<xi:include xmlns:xi=\"http&#x3A;//www.w3.org/2001/XInclude\"" + include, 5,
         "names XInclude, which makes a drawing read other files"},
        {"two entities",
         "<!DOCTYPE svg [\n<!ENTITY a \"http://www.w3.org/2001/XIn\">\n<!ENTITY b "
         "\"clude\">\n]>\n",
         "<xi:include xmlns:xi=\"&a;&b;\"" + include, 9,
         "names XInclude, which makes a drawing read other files"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string dir = CopyDemoToTempDir("e2e-bounds");
        const std::string map = dir + "/Demo.S1.svg";
        WriteFile(map, WithLines(ReadFile(map), c.prologue, c.elements));
        const std::string cfg = dir + "/demo.cfg";
        const std::string error = "[** ERROR **] Line #" + std::to_string(c.line) +
                                  " of the map export " + map + " " + c.problem +
                                  ": the export is refused!";
        ProgramResult r = Capped({KibBinary(), "images", cfg, "--format", "pdf", "--stations", "1",
                                  "--converter", "builtin", "--combine"});
        EXPECT_EQ(r.status, 2) << r.out << r.err;
        EXPECT_NE(r.out.find(error), std::string::npos) << r.out;
        r = Capped({KibBinary(), "proof", cfg, "--stations", "1"});
        EXPECT_EQ(r.status, 2) << r.out << r.err;
        EXPECT_NE(r.out.find(error), std::string::npos) << r.out;
        EXPECT_EQ(ProofMark(ReadFile(dir + "/proof.html"), 1), "mark red");
        for (const auto& entry : fs::directory_iterator(dir)) {
            const std::string name = entry.path().filename().string();
            EXPECT_FALSE(name.starts_with("map-1.") || name.starts_with("prn-1.") ||
                         name.find("-tmp") != std::string::npos ||
                         name.find(".~kib") != std::string::npos)
                << name;
            if (entry.path().extension() == ".pdf") {
                EXPECT_EQ(ReadFile(entry.path().string()).find("[Event]"), std::string::npos);
            }
        }
        fs::remove_all(dir);
    }
}

} // namespace
} // namespace kib::test
