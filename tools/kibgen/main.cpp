// kibgen: writes an event's exports in OCAD's layout for examples, tests and benchmarks.
#include "generator.h"
#include "options.h"

#include <cstdio>
#include <string>

int main(int argc, char** argv) {
    kib::gen::Options options;
    std::string error;
    if (!kib::gen::ParseOptions(argc, argv, options, error)) {
        if (error == "help") {
            std::fputs(kib::gen::UsageText(), stdout);
            return 0;
        }
        std::fprintf(stderr, "kibgen: %s\n%s", error.c_str(), kib::gen::UsageText());
        return 64;
    }
    std::string summary;
    if (!kib::gen::GenerateEvent(options, summary, error)) {
        std::fprintf(stderr, "kibgen: %s\n", error.c_str());
        return 1;
    }
    if (!options.quiet) {
        std::fputs(summary.c_str(), stdout);
    }
    return 0;
}
