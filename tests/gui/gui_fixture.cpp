#include "gui_fixture.h"

#include "gui/gui_host.h"
#include "gui/output_wnd.h"

#include <QFile>

namespace kib::gui::test {

void GuiTest::SetUp() {
    ASSERT_TRUE(dir.isValid());
    settings =
        std::make_unique<QSettings>(dir.filePath(QStringLiteral("kib.ini")), QSettings::IniFormat);
    Restart();
}

void GuiTest::TearDown() {
    frame.reset();
    settings.reset();
}

void GuiTest::Restart() {
    frame.reset();
    frame = std::make_unique<CMainFrame>(*settings);
    frame->Host().boxHook = [this](const kib::MessageBox& box) {
        boxes.push_back(box);
        if (box.buttons == BoxButtons::Ok) {
            return BoxAnswer::Ok;
        }
        if (answers.empty()) {
            return box.defaultAnswer;
        }
        const BoxAnswer a = answers.front();
        answers.pop_front();
        return a;
    };
}

QString GuiTest::WriteConfig(const QString& name, const std::string& text) const {
    const QString path = dir.filePath(name);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(text.data(), static_cast<qint64>(text.size()));
    return path;
}

kib::CKibDoc* GuiTest::Open(const QString& name, const std::string& text) {
    return frame->OpenDocument(WriteConfig(name, text));
}

QStringList GuiTest::Lines(LogPane pane) const {
    QStringList lines;
    const COutputList* list = frame->Output()->List(pane);
    for (int i = 0; i < list->count(); ++i) {
        lines << list->item(i)->text();
    }
    return lines;
}

std::vector<std::string> GuiTest::BoxTexts() const {
    std::vector<std::string> texts;
    for (const auto& b : boxes) {
        texts.push_back(b.text);
    }
    return texts;
}

std::string EventConfig(const std::string& extraEventLines, const std::string& tail) {
    return "# Kib Configuration\r\n\r\n[Event]\r\nNAME=ev\r\nMINSTAT=1\r\nMAXSTAT=3\r\nTASKS=5\r\n"
           "FLAGS=6\r\n" +
           extraEventLines + tail;
}

} // namespace kib::gui::test
