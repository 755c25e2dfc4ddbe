#include "app/inkscape.h"

#include "app/sample_files.h"
#include "app/script_dir.h"
#include "config/cfg_ids.h"
#include "config/kib_cfg.h"
#include "foundation/app_state.h"
#include "foundation/file_stamp.h"
#include "foundation/run_control.h"
#include "platform/paths.h"
#include "support/recording_host.h"

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <unistd.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace kib {
namespace {

using test::PathOverride;
using testing::Contains;
using testing::ElementsAre;
using testing::IsEmpty;
using testing::StartsWith;

constexpr FileStamp kHour = 36000000000ULL;
constexpr FileStamp kNoon = 133500000000000000ULL; // a day in 2024

bool Exists(const std::string& path) {
    return std::filesystem::exists(path);
}

// The arguments that convert into base-tmp.extension.
std::string Arguments(InkscapeKind kind, bool raster, int dpi, const std::string& base,
                      const std::string& extension) {
    return BuildInkscapeArguments(kind, raster, dpi, base, extension, base + "-tmp." + extension);
}

// The temporary file the conversion of base has Inkscape write.
std::string Temporary(const std::string& base, const std::string& extension) {
    return MakeConversionFiles(base, extension, false).temporary;
}

TEST(InkscapeVersionTest, DialectFromVersionOutput) {
    struct Case {
        const char* output;
        InkscapeKind kind;
        const char* version;
    };
    const Case cases[] = {
        {"Inkscape 1.2.2 (b0a8486541, 2022-12-01)\n", InkscapeKind::New, "1.2.2"},
        {"Inkscape 0.92.4 (5da689c313, 2019-01-14)\n", InkscapeKind::Old, "0.92.4"},
        {"Inkscape 1.0.2 (e86c870879, 2021-01-15)\n", InkscapeKind::New, "1.0.2"},
        {"Inkscape 1.3 (0e150ed6c4, 2023-07-21)\n", InkscapeKind::Newest, "1.3"},
        {"Inkscape 1.4.2 (ebf0e940d0, 2025-05-08)", InkscapeKind::Newest, "1.4.2"},
        {"Inkscape 2.0", InkscapeKind::Newest, "2.0"},
        {"Gtk-WARNING: Inkscape cannot open display\nInkscape 1.1 (c68e22c387)\n",
         InkscapeKind::New, "1.1"},
        {"Inkscape version unknown\n", InkscapeKind::Unknown, ""},
        {"", InkscapeKind::Unknown, ""},
    };
    for (const auto& c : cases) {
        std::string version;
        EXPECT_EQ(InkscapeKindFromVersion(c.output, &version), c.kind) << c.output;
        EXPECT_EQ(version, c.version) << c.output;
    }
}

TEST(InkscapeFormatTest, ExtensionsAndVariants) {
    EXPECT_EQ(OutputFormatExtension(OutputFormat::None), nullptr);
    EXPECT_STREQ(OutputFormatExtension(OutputFormat::Pdf), "pdf");
    EXPECT_STREQ(OutputFormatExtension(OutputFormat::Ps), "ps");
    EXPECT_STREQ(OutputFormatExtension(OutputFormat::Eps), "eps");
    EXPECT_STREQ(OutputFormatExtension(OutputFormat::Png), "png");
    EXPECT_EQ(OutputFormatExtension(static_cast<OutputFormat>(5)), nullptr);
    EXPECT_TRUE(IsRasterFormat(OutputFormat::Png));
    EXPECT_FALSE(IsRasterFormat(OutputFormat::Pdf));
    EXPECT_FALSE(IsRasterFormat(OutputFormat::Eps));
    EXPECT_FALSE(IsRasterFormat(static_cast<OutputFormat>(-1)));

    const ConversionFiles plain = MakeConversionFiles("/o/map-2.4", "png", false);
    EXPECT_EQ(plain.source, "/o/map-2.4.svg");
    EXPECT_EQ(plain.temporary, "/o/map-2.4-tmp-" + std::to_string(::getpid()) + ".png");
    EXPECT_EQ(plain.target, "/o/map-2.4.png");
    EXPECT_EQ(MakeConversionFiles("/o/map-2.4", "png", true).target, "/o/map-2.4z.png");
}

class InkscapeTest : public testing::Test {
  protected:
    void SetUp() override {
        host.Install();
        App().debugSwitch = true;
        App().running = true; // conversions run inside a Make run
    }

    test::RecordingHost host;
    test::ScriptDir dir;
};

TEST_F(InkscapeTest, ArgumentTemplatesForEachDialect) {
    const std::string base = "/out dir/prn-3.0-3.1";
    struct Case {
        InkscapeKind kind;
        bool raster;
        const char* extension;
        std::string expected;
    };
    const Case cases[] = {
        {InkscapeKind::Old, true, "png",
         "--without-gui --export-id-only --export-id=mainSheet --export-dpi=600 "
         "--export-text-to-path --export-area-page --file=\"/out dir/prn-3.0-3.1.svg\" "
         "--export-png=\"/out dir/prn-3.0-3.1-tmp.png\""},
        {InkscapeKind::Old, false, "eps",
         "--without-gui --export-text-to-path --export-area-page "
         "--file=\"/out dir/prn-3.0-3.1.svg\" --export-eps=\"/out dir/prn-3.0-3.1-tmp.eps\""},
        {InkscapeKind::New, true, "png",
         "--export-id-only --export-id=mainSheet --export-dpi=600 --export-text-to-path "
         "--export-area-page --export-filename=\"/out dir/prn-3.0-3.1-tmp.png\" "
         "\"/out dir/prn-3.0-3.1.svg\""},
        {InkscapeKind::New, false, "pdf",
         "--export-text-to-path --export-area-page "
         "--export-filename=\"/out dir/prn-3.0-3.1-tmp.pdf\" \"/out dir/prn-3.0-3.1.svg\""},
        {InkscapeKind::Newest, false, "ps",
         "--export-text-to-path --export-area-page "
         "--export-filename=\"/out dir/prn-3.0-3.1-tmp.ps\" \"/out dir/prn-3.0-3.1.svg\""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Arguments(c.kind, c.raster, 600, base, c.extension), c.expected);
    }
    EXPECT_THAT(host.messages, IsEmpty());
}

TEST_F(InkscapeTest, ArgumentsThatCannotBePassedAreRefused) {
    LogScope log;
    const std::size_t fixed = Arguments(InkscapeKind::New, false, 0, "", "pdf").size();
    const std::size_t longest = (kMaxInkscapeArguments - fixed) / 2; // the base is written twice
    EXPECT_EQ(Arguments(InkscapeKind::New, false, 0, std::string(longest, 'b'), "pdf").size(),
              fixed + 2 * longest);
    EXPECT_EQ(log.Errors(), 0);

    EXPECT_EQ(Arguments(InkscapeKind::New, false, 0, std::string(longest + 1, 'b'), "pdf"), "");
    EXPECT_EQ(Arguments(InkscapeKind::New, true, 600, "/o/a\"b", "png"), "");
    ASSERT_EQ(host.messages.size(), 2u);
    EXPECT_THAT(host.messages[0], StartsWith("[** ERROR **] Inkscape arguments longer than 1999 "
                                             "characters: cannot convert bbbb"));
    EXPECT_EQ(host.messages[1], "[** ERROR **] A double quote in a file name cannot be passed "
                                "to Inkscape: /o/a\"b.svg");
    EXPECT_GT(log.Errors(), 0);
}

TEST_F(InkscapeTest, DetectionLooksInBinThenFolderThenPath) {
    LogScope log;
    const std::string v12 = "echo 'Inkscape 1.2.2 (b0a8486541, 2022-12-01)'\n";
    const std::string v092 = "echo 'Inkscape 0.92.4 (5da689c313, 2019-01-14)'\n";
    const std::string v13 = "echo 'Inkscape 1.3 (0e150ed6c4, 2023-07-21)'\n";
    dir.Script("both/bin/inkscape", v12);
    dir.Script("both/inkscape", v092);
    dir.Script("root/inkscape", v092);
    dir.Script("onpath/inkscape", v13);
    dir.Write("empty/inkscape", "not executable\n");
    PathOverride path(dir.Path() + "nowhere:" + dir.Path() + "onpath");

    struct Case {
        const char* folder;
        InkscapeKind kind;
        const char* program;
        const char* version;
    };
    const Case cases[] = {
        {"both", InkscapeKind::New, "both/bin/inkscape", "1.2.2"},
        {"root/", InkscapeKind::Old, "root/inkscape", "0.92.4"},
        {"empty", InkscapeKind::Newest, "onpath/inkscape", "1.3"},
    };
    for (const auto& c : cases) {
        host.Install();
        host.Clear();
        App().debugSwitch = true;
        const std::string program = dir.Path() + c.program;
        EXPECT_TRUE(DetectInkscape(dir.Path() + c.folder)) << c.folder;
        EXPECT_EQ(App().inkscapeKind, c.kind) << c.folder;
        EXPECT_EQ(App().inkscapeProgram, program);
        EXPECT_THAT(host.messages, ElementsAre("Calling " + program + " --version..."));
        EXPECT_THAT(host.debug, Contains(std::string("Found Inkscape version: ") + c.version));
        // Found once: later calls do not look again.
        EXPECT_TRUE(DetectInkscape(dir.Path() + "elsewhere"));
        EXPECT_EQ(host.messages.size(), 1u);
        EXPECT_EQ(log.Errors(), 0);
    }
}

TEST_F(InkscapeTest, DetectionFailsUntilAnInkscapeIsThere) {
    PathOverride path(dir.Path() + "nowhere");
    const std::string folder = dir.Path() + "ink/";
    EXPECT_FALSE(DetectInkscape(folder));
    EXPECT_THAT(host.messages, ElementsAre("[** ERROR **] Cannot find inkscape in path " + folder +
                                           ". Check setting of System.INKSCAPEPATH."));
    EXPECT_EQ(App().inkscapeKind, InkscapeKind::Unknown);

    host.Clear();
    const std::string program = dir.Script("ink/bin/inkscape", "echo 'no version here'\n");
    EXPECT_FALSE(DetectInkscape(folder));
    EXPECT_THAT(host.messages,
                ElementsAre("Calling " + program + " --version...", "no version here",
                            "[** ERROR **] Cannot tell the Inkscape version of " + program +
                                ". Check setting of System.INKSCAPEPATH."));
    EXPECT_EQ(App().inkscapeKind, InkscapeKind::Unknown);

    dir.Script("ink/bin/inkscape", "echo 'Inkscape 1.2.2 (b0a8486541, 2022-12-01)'\n");
    EXPECT_TRUE(DetectInkscape(folder));
    EXPECT_EQ(App().inkscapeKind, InkscapeKind::New);
}

TEST_F(InkscapeTest, DetectionTakesTheConfiguredFolder) {
    dir.Script("cfg/bin/inkscape", "echo 'Inkscape 1.2.2 (b0a8486541, 2022-12-01)'\n");
    CKibCfg cfg;
    cfg.UseServices(App().CurrentHost(), App().Log());
    cfg.Item(id::System_INKSCAPEPATH).SetText(dir.Path() + "cfg/");
    EXPECT_TRUE(DetectInkscape(cfg));
    EXPECT_EQ(App().inkscapeProgram, dir.Path() + "cfg/bin/inkscape");
}

// A stand-in for Inkscape of the new dialect: `out` is the file it is asked to
// write, the body does the rest (`complete FILE` writes a complete file).
class FakeConversionTest : public InkscapeTest {
  protected:
    void SetUp() override {
        InkscapeTest::SetUp();
        base = dir.Path() + "out dir/prn-3.0-3.1";
        dir.Write("out dir/prn-3.0-3.1.svg", "<svg/>\n");
    }

    void InstallFake(const std::string& body) {
        App().inkscapeKind = InkscapeKind::New;
        App().inkscapeProgram =
            dir.Script("fake/bin/inkscape", "for a in \"$@\"; do case \"$a\" in "
                                            "--export-filename=*) "
                                            "out=\"${a#--export-filename=}\";; "
                                            "esac; done\n" +
                                                test::kWriteCompleteFile + body);
    }

    // Makes the SVG older or newer than an existing target.
    void SetStamps(FileStamp svg, FileStamp target, const char* extension = "pdf") {
        ASSERT_TRUE(SetFileStamp(base + ".svg", svg));
        ASSERT_TRUE(SetFileStamp(base + "." + extension, target));
    }

    std::string base;
};

TEST_F(FakeConversionTest, ConvertsIntoTemporaryFileAndRenamesIt) {
    LogScope log;
    InstallFake("printf '%s\\n' \"$@\" > \"$(dirname \"$0\")/args.txt\"\n"
                "stat -c '%a %U' \"$(dirname \"$out\")\" > \"$(dirname \"$0\")/folder.txt\"\n"
                "complete \"$out\"\nprintf 'line one\\r\\n\\r\\nline three'\n");
    dir.Write("out dir/prn-3.0-3.1.png", "old");
    SetStamps(kNoon + kHour, kNoon, "png");

    EXPECT_TRUE(ConvertSheet(base, OutputFormat::Png, 900, false));

    // Every argument arrived as one word, blanks in the names included. Inkscape
    // wrote into a new folder of this user's alone in the temporary folder, which
    // is gone afterwards; its file reached the target through the atomic writer.
    const std::string args = test::ReadFile(dir.Path() + "fake/bin/args.txt");
    const std::string exportAt = "--export-filename=";
    const std::size_t from = args.find(exportAt) + exportAt.size();
    const std::string written = args.substr(from, args.find('\n', from) - from);
    EXPECT_EQ(args, "--export-id-only\n--export-id=mainSheet\n--export-dpi=900\n"
                    "--export-text-to-path\n--export-area-page\n--export-filename=" +
                        written + "\n" + base + ".svg\n");
    EXPECT_TRUE(written.starts_with(platform::TempDirectory() + "/kib-")) << written;
    EXPECT_TRUE(written.ends_with("/sheet.png")) << written;
    EXPECT_TRUE(test::ReadFile(dir.Path() + "fake/bin/folder.txt").starts_with("700 "));
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::path(written).parent_path()));
    EXPECT_EQ(test::ReadFile(base + ".png"), test::kCompletePng);
    EXPECT_FALSE(Exists(Temporary(base, "png")));
    const std::string arguments =
        BuildInkscapeArguments(InkscapeKind::New, true, 900, base, "png", written);
    EXPECT_THAT(host.messages,
                ElementsAre("Calling " + App().inkscapeProgram + " " + arguments + "...",
                            "line one", "", "line three"));
    EXPECT_THAT(host.debug,
                Contains("Calling inkscape to convert '" + base + ".svg' to '" + written + "'..."));
    EXPECT_THAT(host.debug, Contains(StartsWith("Inkscape call completed in ")));
    EXPECT_EQ(log.Errors(), 0);

    // The z-suffix names the target only; a single line with its line end is one log line.
    InstallFake("complete \"$out\"\nprintf 'done\\r\\n'\n");
    host.Clear();
    EXPECT_TRUE(ConvertSheet(base, OutputFormat::Pdf, 900, true));
    EXPECT_TRUE(test::ReadFile(base + "z.pdf").starts_with("%PDF-1.5\n"));
    EXPECT_FALSE(Exists(base + ".pdf"));
    EXPECT_EQ(host.messages.back(), "done");
}

TEST_F(FakeConversionTest, InkscapeNeverWritesThroughALinkAtTheTemporaryName) {
    InstallFake("complete \"$out\"\n");
    const std::string victim = dir.Write("precious.txt", "precious");
    std::filesystem::create_symlink(victim, Temporary(base, "pdf"));
    EXPECT_TRUE(ConvertSheet(base, OutputFormat::Pdf, 600, false));
    EXPECT_EQ(test::ReadFile(victim), "precious");
    EXPECT_TRUE(test::ReadFile(base + ".pdf").starts_with("%PDF-"));
    EXPECT_FALSE(Exists(Temporary(base, "pdf")));
}

TEST_F(FakeConversionTest, AFolderNamedLikeAnOptionIsPassedAsAPath) {
    // A configuration beside the current folder with Target.DIR "-out": the
    // sheet's path begins with "-" and was once read by Inkscape as an option.
    EXPECT_EQ(Arguments(InkscapeKind::New, false, 600, "-out/map-1.1", "pdf"),
              "--export-text-to-path --export-area-page "
              "--export-filename=\"-out/map-1.1-tmp.pdf\" \"./-out/map-1.1.svg\"");
    InstallFake("printf '%s\\n' \"$@\" > \"$(dirname \"$0\")/args.txt\"\n"
                "complete \"$out\"\n");
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(dir.Path());
    dir.Write("-out/map-1.1.svg", "<svg/>\n");
    const bool converted = ConvertSheet("-out/map-1.1", OutputFormat::Pdf, 600, false);
    std::filesystem::current_path(before);
    EXPECT_TRUE(converted);
    EXPECT_TRUE(test::ReadFile(dir.Path() + "-out/map-1.1.pdf").starts_with("%PDF-"));
    const std::string args = test::ReadFile(dir.Path() + "fake/bin/args.txt");
    EXPECT_TRUE(args.ends_with("\n./-out/map-1.1.svg\n")) << args;
}

TEST_F(FakeConversionTest, PathsThatAreNotUtf8AreReportedBeforeInkscapeRuns) {
    InstallFake("touch \"$(dirname \"$0\")/called\"\ncomplete \"$out\"\n");
    const std::string latin1 = dir.Path() + "caf\xE9/prn-3.0-3.1";
    dir.Write("caf\xE9/prn-3.0-3.1.svg", "<svg/>\n");
    EXPECT_FALSE(ConvertSheet(latin1, OutputFormat::Pdf, 600, false));
    EXPECT_EQ(host.messages.back(),
              "[** ERROR **] Inkscape cannot convert '" + latin1 +
                  ".svg': the name of the file or of a folder is not UTF-8. Rename it or choose "
                  "another output folder (Target.DIR).");
    EXPECT_FALSE(Exists(dir.Path() + "fake/bin/called"));
    EXPECT_FALSE(Exists(latin1 + ".pdf"));
}

TEST_F(FakeConversionTest, SkipsTargetsNewerThanTheirSvg) {
    InstallFake("complete \"$out\"\n");
    const std::string target = base + ".pdf";
    dir.Write("out dir/prn-3.0-3.1.pdf", "old");
    const std::string skipped =
        "Converting '" + base + ".svg' to '" + target + "' skipped due to file times";

    SetStamps(kNoon, kNoon + kHour);
    EXPECT_TRUE(ConvertSheet(base, OutputFormat::Pdf, 600, false));
    EXPECT_EQ(test::ReadFile(target), "old");
    EXPECT_THAT(host.messages, IsEmpty());
    EXPECT_THAT(host.debug, ElementsAre(skipped));

    SetStamps(kNoon, kNoon); // equal times convert
    EXPECT_TRUE(ConvertSheet(base, OutputFormat::Pdf, 600, false));
    EXPECT_NE(test::ReadFile(target), "old");

    dir.Write("out dir/prn-3.0-3.1.pdf", "old");
    SetStamps(kNoon + kHour, kNoon); // the SVG was written again
    EXPECT_TRUE(ConvertSheet(base, OutputFormat::Pdf, 600, false));
    EXPECT_NE(test::ReadFile(target), "old");

    std::filesystem::remove(base + ".svg"); // a missing SVG with an existing target
    host.Clear();
    EXPECT_TRUE(ConvertSheet(base, OutputFormat::Pdf, 600, false));
    EXPECT_THAT(host.messages, IsEmpty());
}

TEST_F(FakeConversionTest, FailedConversionKeepsTheOldTarget) {
    LogScope log;
    const std::string svg = base + ".svg";
    const std::string notReplaced = "'" + base + ".pdf' was not replaced.";
    const std::string failed = "[** ERROR **] Converting '" + svg + "' failed: ";
    struct Case {
        const char* extension;
        const char* body;
        std::string error;
    };
    const Case cases[] = {
        // Inkscape 1.2 ends with 0 even when it wrote nothing.
        {"pdf", "echo 'Can not open file'\n", failed + "no file was written. " + notReplaced},
        {"pdf", "rm -f \"$out\"\n", failed + "no file was written. " + notReplaced},
        {"pdf", ": > \"$out\"\n", failed + "the file is empty. " + notReplaced},
        {"pdf", "echo half > \"$out\"\nexit 1\n",
         "[** ERROR **] Inkscape ended with exit code 1 converting '" + svg + "': " + notReplaced},
        {"pdf", "echo half > \"$out\"\nkill -TERM $$\n",
         "[** ERROR **] Inkscape ended with signal 15 converting '" + svg + "': " + notReplaced},
        // A full disk: the file is cut off, Inkscape says so and still ends with 0.
        {"pdf",
         "printf '%%PDF-1.5\\n1 0 obj' > \"$out\"\necho \"Failed to save PS/EPS/PDF to: the "
         "file\"\n",
         failed + "Inkscape reported \"Failed to save PS/EPS/PDF to: the file\". " + notReplaced},
        {"pdf", "printf '%%PDF-1.5\\n1 0 obj' > \"$out\"\n",
         failed + "the PDF file is cut off (no %%EOF at its end). " + notReplaced},
        {"png",
         "printf '\\211PNG\\r\\n\\032\\nIHDR' > \"$out\"\necho 'libpng error: Write Error'\n",
         failed + "Inkscape reported \"libpng error: Write Error\". '" + base +
             ".png' was not replaced."},
        {"eps", "printf '%%!PS-Adobe-3.0 EPSF-3.0\\n' > \"$out\"\n",
         failed + "the PostScript file is cut off (no %%EOF at its end). '" + base +
             ".eps' was not replaced."},
        // A save failure reported beside a complete file still fails.
        {"pdf", "complete \"$out\"\necho \"Failed to save PS/EPS/PDF to: the file\"\n",
         failed + "Inkscape reported \"Failed to save PS/EPS/PDF to: the file\". " + notReplaced},
    };
    for (const auto& c : cases) {
        InstallFake(c.body);
        const std::string target = base + "." + c.extension;
        dir.Write("out dir/prn-3.0-3.1." + std::string(c.extension), "old");
        SetStamps(kNoon + kHour, kNoon, c.extension);
        host.Clear();
        log.Clear();
        const OutputFormat format = std::string(c.extension) == "png"   ? OutputFormat::Png
                                    : std::string(c.extension) == "eps" ? OutputFormat::Eps
                                                                        : OutputFormat::Pdf;

        EXPECT_FALSE(ConvertSheet(base, format, 600, false)) << c.body;
        EXPECT_EQ(host.messages.back(), c.error);
        EXPECT_GT(log.Errors(), 0);
        EXPECT_EQ(test::ReadFile(target), "old");
        EXPECT_FALSE(Exists(Temporary(base, c.extension)));
    }
}

TEST_F(FakeConversionTest, StoppedOrTimedOutConversionNeverBecomesTheTarget) {
    InstallFake("echo partial > \"$out\"\nsleep 30\n");
    const std::string target = base + ".pdf";
    const std::string cutOff = "[** ERROR **] Converting '" + base +
                               ".svg' was not completed: its partial file was deleted, '" + target +
                               "' was not replaced.";
    for (const bool stop : {false, true}) {
        dir.Write("out dir/prn-3.0-3.1.pdf", "old");
        SetStamps(kNoon + kHour, kNoon);
        host.Clear();
        App().running = true;
        host.onPump = [stop] {
            if (stop) {
                OnStop();
            }
        };
        const InkscapeArguments arguments = [this](const std::string& written) {
            return BuildInkscapeArguments(InkscapeKind::New, false, 600, base, "pdf", written);
        };

        EXPECT_FALSE(ConvertWithInkscape(base, "pdf", arguments, false, 1)) << stop;
        EXPECT_EQ(host.messages.back(), cutOff);
        EXPECT_THAT(host.messages, Contains("[= WARNING =] Terminating Inkscape process..."));
        EXPECT_EQ(test::ReadFile(target), "old");
        EXPECT_FALSE(Exists(Temporary(base, "pdf")));
    }
}

} // namespace
} // namespace kib
