// Whole runs of `kib images`, `kib solutions` and `kib solution-images` on the
// demo event with the real Inkscape: real PDF and PNG files of the sheet's page
// size, a second run that converts nothing, and Ctrl+C that stops a run the way
// the Stop command does.
#include "support/demo_inputs.h"
#include "support/run_program.h"

#include <gtest/gtest.h>
#define POINTERHOLDER_TRANSITION 4
#include <pugixml.hpp>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <map>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <vector>

extern char** environ;

namespace kib::test {
namespace {

namespace fs = std::filesystem;

// The resolution of the converted raster files, low to keep Inkscape quick.
constexpr int kDpi = 30;

bool InkscapeOnPath() {
    return std::system("command -v inkscape >/dev/null 2>&1") == 0;
}

bool Begins(const std::string& text, const std::string& prefix) {
    return text.rfind(prefix, 0) == 0;
}

// Names in dir that begin with prefix and end with suffix.
std::vector<std::string> Files(const std::string& dir, const std::string& prefix,
                               const std::string& suffix) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir)) {
        const std::string name = entry.path().filename().string();
        if (Begins(name, prefix) && name.size() >= suffix.size() &&
            name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0) {
            names.push_back(name);
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

// Temporary files of Kib ("-tmp" in the name) left in a folder.
std::vector<std::string> Temporaries(const std::string& dir) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir)) {
        const std::string name = entry.path().filename().string();
        if (name.find("-tmp") != std::string::npos || name.find(".~kib") != std::string::npos) {
            names.push_back(name);
        }
    }
    return names;
}

std::string Stem(const std::string& name) {
    return name.substr(0, name.rfind('.'));
}

struct SizeMm {
    double w = 0.0, h = 0.0;
};

// The page of an SVG sheet: its width and height, written in centimetres.
SizeMm PageOf(const std::string& svg) {
    pugi::xml_document xml;
    const pugi::xml_parse_result parsed = xml.load_file(svg.c_str());
    EXPECT_TRUE(parsed) << svg << ": " << parsed.description();
    const pugi::xml_node root = xml.document_element();
    EXPECT_STREQ(root.attribute("id").value(), "mainSheet");
    const std::string w = root.attribute("width").value();
    const std::string h = root.attribute("height").value();
    EXPECT_EQ(w.substr(w.size() - 2), "cm") << svg;
    return {std::atof(w.c_str()) * 10.0, std::atof(h.c_str()) * 10.0};
}

// A PDF of one page of the given size.
void ExpectPdfPage(const std::string& pdf, SizeMm page) {
    SCOPED_TRACE(pdf);
    const std::string bytes = ReadFile(pdf);
    ASSERT_TRUE(Begins(bytes, "%PDF-"));
    EXPECT_NE(bytes.find("%%EOF", bytes.size() > 1024 ? bytes.size() - 1024 : 0),
              std::string::npos);
    const std::size_t box = bytes.find("/MediaBox");
    ASSERT_NE(box, std::string::npos);
    double x0 = -1, y0 = -1, x1 = 0, y1 = 0;
    ASSERT_EQ(std::sscanf(bytes.c_str() + box, "/MediaBox [ %lf %lf %lf %lf", &x0, &y0, &x1, &y1),
              4);
    EXPECT_NEAR(x1 - x0, page.w * 72.0 / 25.4, 0.01);
    EXPECT_NEAR(y1 - y0, page.h * 72.0 / 25.4, 0.01);
    EXPECT_EQ(bytes.find("/MediaBox", box + 1), std::string::npos) << "one page";
}

std::uint32_t BigEndian32(const std::string& bytes, std::size_t at) {
    std::uint32_t v = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        v = (v << 8) | static_cast<unsigned char>(bytes[at + i]);
    }
    return v;
}

// A PNG of the page at kDpi pixels to the inch.
void ExpectPngPage(const std::string& png, SizeMm page) {
    SCOPED_TRACE(png);
    const std::string bytes = ReadFile(png);
    ASSERT_GT(bytes.size(), 24u);
    EXPECT_EQ(bytes.substr(0, 8), "\x89PNG\r\n\x1a\n");
    EXPECT_EQ(bytes.substr(12, 4), "IHDR");
    EXPECT_EQ(static_cast<long>(BigEndian32(bytes, 16)), std::lround(page.w * kDpi / 25.4));
    EXPECT_EQ(static_cast<long>(BigEndian32(bytes, 20)), std::lround(page.h * kDpi / 25.4));
}

class ImagesCommandTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir = CopyDemoToTempDir("e2e-images");
        cfg = dir + "/demo.cfg";
        WriteFile(cfg, ReadFile(cfg) + "\r\n[Target]\r\nDPI=" + std::to_string(kDpi) +
                           "\r\n[System]\r\nDEBUGGING=Yes\r\n");
        debugLog = dir + ".debug.log";
    }
    void TearDown() override {
        fs::remove_all(dir);
        fs::remove(debugLog);
    }

    ProgramResult Kib(const std::vector<std::string>& verbAndOptions) {
        std::vector<std::string> args = {KibBinary(), "--debug-log", debugLog};
        args.insert(args.end(), verbAndOptions.begin(), verbAndOptions.end());
        return RunProgram(args);
    }
    std::map<std::string, fs::file_time_type> Times(const std::vector<std::string>& names) {
        std::map<std::string, fs::file_time_type> times;
        for (const auto& n : names) {
            times[n] = fs::last_write_time(dir + "/" + n);
        }
        return times;
    }
    // A second identical run converts nothing: every file is skipped by its time.
    void ExpectSecondRunSkipsAll(const std::vector<std::string>& verbAndOptions,
                                 const std::vector<std::string>& converted) {
        const auto before = Times(converted);
        const ProgramResult again = Kib(verbAndOptions);
        ASSERT_EQ(again.status, 0) << again.out << again.err;
        const std::string log = ReadFile(debugLog);
        EXPECT_EQ(log.find("Calling inkscape to convert"), std::string::npos) << log;
        for (const auto& name : converted) {
            const std::string svg = dir + "/" + Stem(name) + ".svg";
            EXPECT_NE(log.find("Converting '" + svg + "' to '" + dir + "/" + name +
                               "' skipped due to file times"),
                      std::string::npos)
                << name;
        }
        EXPECT_EQ(Times(converted), before);
    }

    std::string dir;
    std::string cfg;
    std::string debugLog;
};

TEST_F(ImagesCommandTest, PdfAndPngOfOneStationAndASecondRunSkipsThem) {
    if (!InkscapeOnPath()) {
        GTEST_SKIP() << "inkscape is not installed";
    }
    const std::vector<std::string> pdfRun = {"images", cfg, "--format", "pdf", "--stations", "1"};
    const ProgramResult r = Kib(pdfRun);
    ASSERT_EQ(r.status, 0) << r.out << r.err;
    EXPECT_NE(r.err.find("info: Image files created."), std::string::npos) << r.err;
    EXPECT_NE(r.out.find("Image files creation completed."), std::string::npos);

    // Every print sheet of station 1 is converted, and nothing else.
    const std::vector<std::string> sheets = Files(dir, "prn-1.", ".svg");
    ASSERT_EQ(sheets.size(), 3u) << "tasks 0 to 5, two canvases a sheet";
    std::vector<std::string> pdfs;
    for (const auto& sheet : sheets) {
        pdfs.push_back(Stem(sheet) + ".pdf");
        ExpectPdfPage(dir + "/" + pdfs.back(), PageOf(dir + "/" + sheet));
    }
    EXPECT_EQ(Files(dir, "", ".pdf"), pdfs);
    EXPECT_TRUE(Temporaries(dir).empty());
    EXPECT_TRUE(Files(dir, "prn-2.", ".svg").empty());

    ExpectSecondRunSkipsAll(pdfRun, pdfs);

    // PNG of the sheet that holds task 1.
    const ProgramResult png =
        Kib({"images", cfg, "--format", "png", "--stations", "1", "--task", "1"});
    ASSERT_EQ(png.status, 0) << png.out << png.err;
    EXPECT_EQ(Files(dir, "", ".png"), std::vector<std::string>{"prn-1.0-1.1.png"});
    ExpectPngPage(dir + "/prn-1.0-1.1.png", PageOf(dir + "/prn-1.0-1.1.svg"));
}

TEST_F(ImagesCommandTest, SolutionSheetsAsSvgPdfAndPng) {
    const ProgramResult svg = Kib({"solutions", cfg});
    ASSERT_EQ(svg.status, 0) << svg.out << svg.err;
    EXPECT_NE(svg.err.find("info: SVG files created."), std::string::npos) << svg.err;
    ASSERT_EQ(Files(dir, "sol-", ".svg"), std::vector<std::string>{"sol-1-4.svg"});
    pugi::xml_document xml;
    ASSERT_TRUE(xml.load_file((dir + "/sol-1-4.svg").c_str()));
    for (const char* id : {"solmap1", "solmap2", "solmap3", "solmap4"}) {
        EXPECT_TRUE(xml.find_node([id](pugi::xml_node n) {
            return std::string(n.attribute("id").value()) == id;
        })) << id;
    }
    EXPECT_TRUE(Files(dir, "map-", ".svg").empty()) << "no competition maps";

    if (!InkscapeOnPath()) {
        GTEST_SKIP() << "inkscape is not installed";
    }
    const std::vector<std::string> pdfRun = {"solution-images", cfg, "--format", "pdf",
                                             "--stations",      "2"};
    const ProgramResult pdf = Kib(pdfRun);
    ASSERT_EQ(pdf.status, 0) << pdf.out << pdf.err;
    EXPECT_NE(pdf.err.find("info: Image files created."), std::string::npos) << pdf.err;
    EXPECT_EQ(Files(dir, "sol-", ".pdf"), std::vector<std::string>{"sol-2-2.pdf"});
    ExpectPdfPage(dir + "/sol-2-2.pdf", PageOf(dir + "/sol-2-2.svg"));
    ExpectSecondRunSkipsAll(pdfRun, {"sol-2-2.pdf"});

    const ProgramResult png = Kib({"solution-images", cfg, "--format", "png", "--stations", "2"});
    ASSERT_EQ(png.status, 0) << png.out << png.err;
    ExpectPngPage(dir + "/sol-2-2.png", PageOf(dir + "/sol-2-2.svg"));
    EXPECT_TRUE(Temporaries(dir).empty());
}

// A kib run in the background, its standard output and error in files.
class BackgroundKib {
  public:
    BackgroundKib(std::vector<std::string> args, const std::string& base)
        : out_(base + ".out"), err_(base + ".err") {
        std::vector<char*> argv;
        for (auto& a : args) {
            argv.push_back(a.data());
        }
        argv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 1, out_.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                         0644);
        posix_spawn_file_actions_addopen(&actions, 2, err_.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                         0644);
        started_ =
            posix_spawn(&pid_, args[0].c_str(), &actions, nullptr, argv.data(), environ) == 0;
        posix_spawn_file_actions_destroy(&actions);
    }
    ~BackgroundKib() {
        fs::remove(out_);
        fs::remove(err_);
    }
    bool Started() const { return started_; }
    // Waits (two minutes at most) until standard output holds the text.
    void AwaitOutput(const std::string& text) const {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(120);
        while (ReadFile(out_).find(text) == std::string::npos &&
               std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    }
    // Sends the signal and waits for the end; the exit status, or -1.
    int SignalAndWait(int signal) const {
        ::kill(pid_, signal);
        int status = 0;
        ::waitpid(pid_, &status, 0);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    std::string Out() const { return ReadFile(out_); }
    std::string Err() const { return ReadFile(err_); }

  private:
    std::string out_, err_;
    pid_t pid_ = 0;
    bool started_ = false;
};

void ExpectStoppedAsByTheStopCommand(const BackgroundKib& kib, int status) {
    // Nothing complete was made: exit status 2, though the box only informs.
    EXPECT_EQ(status, 2);
    EXPECT_NE(kib.Out().find("[= WARNING =] Stopped by the user (Ctrl+C)."), std::string::npos)
        << kib.Out();
    EXPECT_EQ(kib.Out().find("STOP button pressed"), std::string::npos) << kib.Out();
    EXPECT_NE(kib.Err().find("info: Image files creation stopped.\n"), std::string::npos)
        << kib.Err();
    EXPECT_EQ(kib.Out().find("Image files creation completed."), std::string::npos);
}

TEST_F(ImagesCommandTest, CtrlCStopsTheConversionsAsTheStopCommandDoes) {
    if (!InkscapeOnPath()) {
        GTEST_SKIP() << "inkscape is not installed";
    }
    const BackgroundKib kib({KibBinary(), "images", cfg, "--format", "pdf"}, dir);
    ASSERT_TRUE(kib.Started());
    kib.AwaitOutput("--export-filename="); // the first conversion has begun
    ExpectStoppedAsByTheStopCommand(kib, kib.SignalAndWait(SIGINT));
    EXPECT_LT(Files(dir, "", ".pdf").size(), Files(dir, "prn-", ".svg").size());
    EXPECT_TRUE(Temporaries(dir).empty()) << "no partial file is left";
}

// A closed terminal (SIGHUP) or a kill such as timeout's (SIGTERM) stops a run as
// Ctrl+C does: the converter's process group is ended with it, its partial file
// removed and the sheet's old file kept.
TEST_F(ImagesCommandTest, HangUpAndTerminateStopTheConverterAndKeepTheOldFiles) {
    const std::string pidFile = dir + ".converter-pid";
    const std::string fake = dir + ".fake";
    fs::create_directories(fake + "/bin");
    WriteFile(fake + "/bin/inkscape",
              "#!/bin/sh\n"
              "case \"$1\" in --version) echo 'Inkscape 1.2.2 (stand-in)'; exit 0;; esac\n"
              "for a in \"$@\"; do case \"$a\" in --export-filename=*) "
              "out=\"${a#--export-filename=}\";; esac; done\n"
              "echo partial > \"$out\"\n"
              "echo $$ > '" +
                  pidFile +
                  "'\n"
                  "exec sleep 60\n");
    fs::permissions(fake + "/bin/inkscape", fs::perms::owner_all);
    WriteFile(cfg, ReadFile(cfg) + "\r\n[System]\r\nINKSCAPEPATH=" + fake + "/\r\n");
    ASSERT_EQ(Kib({"maps", cfg, "--stations", "1"}).status, 0);
    const std::vector<std::string> sheets = Files(dir, "prn-1.", ".svg");
    ASSERT_FALSE(sheets.empty());
    for (int signal : {SIGHUP, SIGTERM}) {
        SCOPED_TRACE(signal);
        for (const auto& sheet : sheets) {
            const std::string old = dir + "/" + Stem(sheet) + ".pdf";
            WriteFile(old, "old");
            fs::last_write_time(old,
                                fs::last_write_time(dir + "/" + sheet) - std::chrono::hours(1));
        }
        fs::remove(pidFile);
        const BackgroundKib kib({KibBinary(), "images", cfg, "--format", "pdf", "--stations", "1"},
                                dir);
        ASSERT_TRUE(kib.Started());
        kib.AwaitOutput("--export-filename=");
        while (ReadFile(pidFile).empty()) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        const pid_t converter = std::atoi(ReadFile(pidFile).c_str());
        ExpectStoppedAsByTheStopCommand(kib, kib.SignalAndWait(signal));
        EXPECT_NE(::kill(converter, 0), 0) << "the converter ended with kib";
        EXPECT_TRUE(Files(dir, "", "-tmp.pdf").empty()) << "no partial file is left";
        for (const auto& sheet : sheets) {
            EXPECT_EQ(ReadFile(dir + "/" + Stem(sheet) + ".pdf"), "old") << sheet;
        }
    }
    fs::remove_all(fake);
    fs::remove(pidFile);
}

// One print file for the print shop: the run's print sheets in station and task
// order, each page of its sheet's size; the single files stay.
TEST_F(ImagesCommandTest, CombineWritesOnePrintFileOfTheRun) {
    if (!InkscapeOnPath()) {
        GTEST_SKIP() << "inkscape is not installed";
    }
    const ProgramResult r =
        Kib({"images", cfg, "--format", "pdf", "--stations", "2,4", "--combine"});
    ASSERT_EQ(r.status, 0) << r.out << r.err;
    std::vector<std::string> sheets = Files(dir, "prn-2.", ".pdf");
    for (const auto& name : Files(dir, "prn-4.", ".pdf")) {
        sheets.push_back(name);
    }
    EXPECT_NE(r.out.find(std::to_string(sheets.size()) + " sheets combined into " + dir +
                         "/Demo-maps.pdf."),
              std::string::npos)
        << r.out;
    QPDF combined;
    combined.processFile((dir + "/Demo-maps.pdf").c_str());
    const std::vector<QPDFPageObjectHelper> pages = QPDFPageDocumentHelper(combined).getAllPages();
    ASSERT_EQ(pages.size(), sheets.size());
    for (std::size_t i = 0; i < pages.size(); ++i) {
        const SizeMm page = PageOf(dir + "/" + Stem(sheets[i]) + ".svg");
        const QPDFObjectHandle::Rectangle box =
            QPDFPageObjectHelper(pages[i]).getMediaBox().getArrayAsRectangle();
        EXPECT_NEAR((box.urx - box.llx) / 72.0 * 25.4, page.w, 0.5) << sheets[i];
        EXPECT_NEAR((box.ury - box.lly) / 72.0 * 25.4, page.h, 0.5) << sheets[i];
    }
    EXPECT_EQ(Kib({"images", cfg, "--format", "png", "--combine"}).status, 64);
}

TEST_F(ImagesCommandTest, BadChoicesAreUsageErrors) {
    const std::vector<std::vector<std::string>> cases = {
        {"images", cfg},
        {"images", cfg, "--format", "gif"},
        {"images", cfg, "--format", "pdf", "--task", "cover1"},
        {"images", cfg, "--format", "pdf", "--converter", "cairo"},
        {"solutions", cfg, "--converter", "builtin"},
        {"solution-images", cfg, "--format", "PDF"},
        {"solution-images", cfg, "--format", "png", "--stations", "9"},
        {"solutions", cfg, "--stations", "2-1"},
        {"solutions", cfg, "--task", "1"},
    };
    for (const auto& c : cases) {
        const ProgramResult r = Kib(c);
        EXPECT_EQ(r.status, 64) << c[0] << " " << c.back() << ": " << r.err;
    }
    EXPECT_TRUE(Files(dir, "", ".svg").size() == Files(dir, "Demo.", ".svg").size())
        << "nothing made";
}

} // namespace
} // namespace kib::test
