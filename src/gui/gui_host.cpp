#include "gui/gui_host.h"

#include "foundation/app_state.h"
#include "foundation/log.h"
#include "gui/output_wnd.h"
#include "gui/qt_text.h"

#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QMainWindow>
#include <QMessageBox>
#include <QProgressBar>

#include <algorithm>

namespace kib::gui {

namespace {

QMessageBox::Icon ToQtIcon(BoxIcon icon) {
    switch (icon) {
    case BoxIcon::Error:
        return QMessageBox::Critical;
    case BoxIcon::Warning:
        return QMessageBox::Warning;
    case BoxIcon::Information:
        return QMessageBox::Information;
    case BoxIcon::Question:
        return QMessageBox::Question;
    case BoxIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

GuiHost::GuiHost(QMainWindow* window, COutputWnd* output, QLabel* statusLabel,
                 QProgressBar* progressBar, QWidget* stopButton)
    : QObject(window), window_(window), output_(output), statusLabel_(statusLabel),
      progressBar_(progressBar), stopButton_(stopButton) {}

void GuiHost::AppendLine(LogPane pane, const std::string& text) {
    if (output_ != nullptr) {
        output_->AppendLogLine(pane, ToQt(text));
    }
}

void GuiHost::SetStatusText(const std::string& text) {
    if (statusLabel_ != nullptr) {
        statusLabel_->setText(ToQt(text));
    }
}

void GuiHost::ShowProgress(const RunProgress& progress) {
    const bool running = progress.sheets > 0;
    if (progressBar_ != nullptr) {
        if (running) {
            progressBar_->setRange(0, progress.sheets);
            progressBar_->setValue(std::min(progress.sheet, progress.sheets));
            progressBar_->setFormat(
                progress.stations > 0
                    ? tr("sheet %1 of %2 (station %3 of %4)")
                          .arg(progress.sheet)
                          .arg(progress.sheets)
                          .arg(progress.station)
                          .arg(progress.stations)
                    : tr("sheet %1 of %2").arg(progress.sheet).arg(progress.sheets));
        }
        progressBar_->setVisible(running);
    }
    if (stopButton_ != nullptr) {
        stopButton_->setVisible(running);
    }
}

BoxAnswer GuiHost::ShowMessageBox(const MessageBox& box) {
    if (boxHook) {
        return boxHook(box);
    }
    QMessageBox mb(ToQtIcon(box.icon), QStringLiteral("Kib"), ToQt(box.text), QMessageBox::NoButton,
                   window_);
    if (box.buttons == BoxButtons::YesNo || box.buttons == BoxButtons::YesNoCancel) {
        const bool cancel = box.buttons == BoxButtons::YesNoCancel;
        mb.setStandardButtons(QMessageBox::Yes | QMessageBox::No |
                              (cancel ? QMessageBox::Cancel : QMessageBox::NoButton));
        mb.setDefaultButton(box.defaultAnswer == BoxAnswer::Yes ? QMessageBox::Yes
                                                                : QMessageBox::No);
        mb.setEscapeButton(cancel ? QMessageBox::Cancel : QMessageBox::No);
        const int answer = mb.exec();
        if (answer == QMessageBox::Cancel) {
            return BoxAnswer::Cancel;
        }
        return answer == QMessageBox::Yes ? BoxAnswer::Yes : BoxAnswer::No;
    }
    if (box.buttons == BoxButtons::YesNoCancel) {
        mb.setStandardButtons(QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
        mb.setDefaultButton(box.defaultAnswer == BoxAnswer::No       ? QMessageBox::Discard
                            : box.defaultAnswer == BoxAnswer::Cancel ? QMessageBox::Cancel
                                                                     : QMessageBox::Save);
        mb.setEscapeButton(QMessageBox::Cancel);
        const int answer = mb.exec();
        return answer == QMessageBox::Save      ? BoxAnswer::Yes
               : answer == QMessageBox::Discard ? BoxAnswer::No
                                                : BoxAnswer::Cancel;
    }
    mb.setStandardButtons(QMessageBox::Ok);
    mb.exec();
    return BoxAnswer::Ok;
}

// Dispatches whatever is pending and returns at once; the events that came from
// the window system are named on the Debug pane.
void GuiHost::PumpEvents() {
    if (pumping_) {
        QCoreApplication::processEvents();
        return;
    }
    pumping_ = true;
    const bool trace = App().debugSwitch;
    if (trace) {
        qApp->installEventFilter(this);
    }
    QCoreApplication::processEvents();
    if (trace) {
        qApp->removeEventFilter(this);
    }
    pumping_ = false;
}

bool GuiHost::eventFilter(QObject* watched, QEvent* event) {
    if (event->spontaneous() && watched->isWidgetType()) {
        App().Log().Debug("Windows message %04X caught", static_cast<unsigned>(event->type()));
    }
    return QObject::eventFilter(watched, event);
}

void GuiHost::SetWaitCursor(bool on) {
    if (on == waitCursor_) {
        return;
    }
    waitCursor_ = on;
    if (on) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
    } else {
        QApplication::restoreOverrideCursor();
    }
}

std::string GuiHost::GetMainTitle() const {
    return FromQt(window_->windowTitle());
}

void GuiHost::SetMainTitle(const std::string& title) {
    window_->setWindowTitle(ToQt(title));
}

std::optional<std::string> GuiHost::ChooseFolder(const std::string& start) {
    if (folderHook) {
        return folderHook(start);
    }
    const QString dir = QFileDialog::getExistingDirectory(window_, QString(), ToQt(start));
    if (dir.isEmpty()) {
        return std::nullopt;
    }
    std::string chosen = FromQt(dir);
    if (chosen.back() != '/') {
        chosen += '/';
    }
    return chosen;
}

} // namespace kib::gui
