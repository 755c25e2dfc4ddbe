// The fixture of the configuration file's tests: a document, a recording host
// and a fresh folder.
#pragma once

#include "config/kib_doc.h"
#include "foundation/app_state.h"
#include "platform/paths.h"
#include "support/recording_host.h"
#include "support/test_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace kib {

class CfgFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        host.Install();
        host.Attach(doc);
        dir = platform::WithSeparator(test::MakeTempDir("cfgfile"));
        ASSERT_NE(dir, "");
    }
    void TearDown() override { std::filesystem::remove_all(platform::FsPath(dir)); }

    std::string Write(const std::string& content, const std::string& name = "event.cfg") {
        test::WriteFile(dir + name, content);
        return dir + name;
    }
    static std::string Bytes(const std::string& path) { return test::ReadFile(path); }
    bool Open(const std::string& content) {
        host.Clear();
        return doc.OnOpenDocument(Write(content));
    }
    int Count(const std::string& prefix) const {
        int n = 0;
        for (const auto& m : host.messages) {
            n += m.rfind(prefix, 0) == 0 ? 1 : 0;
        }
        return n;
    }
    std::vector<std::string> BoxTexts() const {
        std::vector<std::string> texts;
        for (const auto& b : host.boxes) {
            texts.push_back(b.text);
        }
        return texts;
    }
    std::string Value(int id) const { return doc.GetConfig()->Item(id).GetValueText(); }

    test::RecordingHost host;
    CKibDoc doc;
    std::string dir;
};

inline const std::string kNotRecognized = "Configuration file format not recognized!";

} // namespace kib
