#include "cli/common_options.h"

namespace kib::cli {

void AddFileOption(CLI::App& command, std::string& file) {
    command.add_option("file", file, "The configuration file")->required()->option_text("FILE.cfg");
}

void AddStationsOption(CLI::App& command, std::string& stations, const char* purpose) {
    command
        .add_option("--stations", stations,
                    std::string("Stations to ") + purpose +
                        ", numbers and ranges such as 1,3-5 (default: all)")
        ->option_text("LIST");
}

} // namespace kib::cli
