// kib: the command-line program (src/cli/run_kib.cpp).
#include "cli/run_kib.h"

int main(int argc, char** argv) {
    return kib::cli::RunKib(argc, argv);
}
