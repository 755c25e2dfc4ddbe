// kib: the command-line program. Every Make command and configuration check for
// scripts and headless machines: the command line's verbs and options, and the
// run of the chosen verb with the program's host installed.
#include "cli/run_kib.h"

#include "cli/cli_context.h"
#include "cli/cli_host.h"
#include "cli/nearest_verb.h"
#include "foundation/app_state.h"
#include "platform/environment.h"
#include "sheet/product_info.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <iostream>
#include <string>
#include <vector>

namespace kib::cli {

int StatusFrom(const LogScope& tally) {
    if (tally.Errors() > 0) {
        return kExitError;
    }
    return tally.Warnings() > 0 ? kExitWarning : kExitOk;
}

namespace {

void AddCommonOptions(CLI::App& app, Context& ctx) {
    app.add_option("--debug-log", ctx.options.debugLog,
                   "Write the Debug pane (every log line, debug-only lines included) to FILE")
        ->option_text("FILE");
    auto* yes = app.add_flag_callback(
        "--yes", [&ctx] { ctx.options.answer = Answer::Yes; },
        "Answer Yes to every question instead of asking");
    auto* no = app.add_flag_callback(
        "--no", [&ctx] { ctx.options.answer = Answer::No; },
        "Answer No to every question instead of asking");
    yes->excludes(no);
    app.add_flag("-q,--quiet", ctx.options.quiet,
                 "Do not print the Messages pane on standard output");
}

// A verb that is not one of kib's: the nearest verb when it looks mistyped, else
// the list of verbs. False when the verb word is a verb (the error is another).
bool ReportUnknownVerb(const CLI::App& app, const std::vector<std::string>& arguments) {
    const std::string word = VerbWord(arguments, {"--debug-log"});
    if (word.empty()) {
        return false;
    }
    std::vector<std::string> verbs;
    for (const CLI::App* verb : app.get_subcommands({})) {
        if (verb->get_name() == word) {
            return false;
        }
        verbs.push_back(verb->get_name());
    }
    const std::string nearest = NearestVerb(word, verbs);
    if (!nearest.empty()) {
        std::cerr << "error: '" << word << "' is not a kib command; did you mean '" << nearest
                  << "'?\n";
    } else {
        std::cerr << "error: '" << word << "' is not a kib command; the commands are:";
        for (const std::string& verb : verbs) {
            std::cerr << ' ' << verb;
        }
        std::cerr << "\n";
    }
    std::cerr << "Run with --help for more information.\n";
    return true;
}

} // namespace

int RunKib(int argc, char** argv) {
    Context ctx;
    CLI::App app{"Kib makes TempO (trail orienteering) competition map sheets from OCAD exports.\n"
                 "Log lines go to standard output, message boxes to standard error.\n"
                 "Exit status: 0 success, 1 warnings, 2 errors or failure, 64 bad usage.",
                 "kib"};
    app.set_version_flag("--version", kib::ProgramVersionLine(),
                         "Print the product name and version and exit");
    app.require_subcommand(1);
    app.fallthrough();
    // Every error on standard error begins with "error: ".
    app.failure_message([](const CLI::App* failed, const CLI::Error& e) {
        return "error: " + CLI::FailureMessage::simple(failed, e);
    });
    AddCommonOptions(app, ctx);
    AddConfigCommands(app, ctx);
    AddMakeCommands(app, ctx);
    AddImageCommands(app, ctx);
    AddNewCommand(app, ctx);
    AddAnalyseCommand(app, ctx);
    AddProofCommand(app, ctx);

    // The words after the program's name, last first as CLI11 takes them; UTF-8
    // on every system.
    std::vector<std::string> words = platform::ProgramArguments(argc, argv);
    if (!words.empty()) {
        words.erase(words.begin());
    }
    const std::vector<std::string> arguments = words;
    std::reverse(words.begin(), words.end());
    platform::PrepareConsole();
    try {
        app.parse(std::move(words));
    } catch (const CLI::CallForHelp& e) {
        return app.exit(e);
    } catch (const CLI::CallForAllHelp& e) {
        return app.exit(e);
    } catch (const CLI::CallForVersion& e) {
        return app.exit(e);
    } catch (const CLI::ParseError& e) {
        if (!ReportUnknownVerb(app, arguments)) {
            app.exit(e);
        }
        return kExitUsage;
    }
    if (!ctx.run) {
        std::cerr << app.help();
        return kExitUsage;
    }

    CliHost host(ctx.options);
    if (!host.Open()) {
        return kExitError;
    }
    kib::ResetAppState(&host);
    InstallInterruptHandler();
    const int status = ctx.run(host);
    kib::ResetAppState();
    return status;
}

} // namespace kib::cli
