// The fixture of the desktop application's tests: a main window with its own
// profile in a temporary folder, message boxes answered from a queue (else
// with their default button) and recorded, and small configuration files.
#pragma once

#include "foundation/host.h"
#include "gui/main_frame.h"

#include <QSettings>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <deque>
#include <memory>
#include <string>
#include <vector>

namespace kib::gui::test {

class GuiTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // A new main window on the same profile (the next start of the program).
    void Restart();
    // Writes a configuration file into the temporary folder; returns its path.
    QString WriteConfig(const QString& name, const std::string& text) const;
    kib::CKibDoc* Open(const QString& name, const std::string& text);
    QStringList Lines(LogPane pane) const;
    std::vector<std::string> BoxTexts() const;

    QTemporaryDir dir;
    std::unique_ptr<QSettings> settings;
    std::unique_ptr<CMainFrame> frame;
    std::vector<kib::MessageBox> boxes;
    std::deque<kib::BoxAnswer> answers;
};

// The smallest configuration that loads: an event with a station range.
std::string EventConfig(const std::string& extraEventLines = "", const std::string& tail = "");

} // namespace kib::gui::test
