#include "support/demo_inputs.h"

#include "support/test_files.h"

#include <filesystem>

namespace kib::test {

namespace {

namespace fs = std::filesystem;

const std::string kDemo = std::string(KIB_SOURCE_DIR) + "/examples/demo/";

} // namespace

void CopyDemoExports(const std::string& to) {
    fs::create_directories(to);
    for (const auto& entry : fs::directory_iterator(kDemo)) {
        const std::string name = entry.path().filename().string();
        if (name.rfind("Demo.", 0) == 0 && (name.ends_with(".svg") || name.ends_with(".xml"))) {
            fs::copy_file(entry.path(), to + "/" + name, fs::copy_options::overwrite_existing);
        }
    }
}

void CopyDemoInputs(const std::string& to) {
    CopyDemoExports(to);
    fs::copy_file(kDemo + "demo.cfg", to + "/demo.cfg", fs::copy_options::overwrite_existing);
}

std::string CopyDemoToTempDir(const std::string& tag) {
    const std::string dir = MakeTempDir(tag);
    CopyDemoInputs(dir);
    return dir;
}

} // namespace kib::test
