// The output pane: a docked window with the two log lists "Messages" and
// "Debug" on tabs at its bottom; each list copies or clears itself from its
// context menu.
#pragma once

#include "foundation/host.h"

#include <QDockWidget>
#include <QListWidget>

class QTabWidget;

namespace kib::gui {

// One log list: one entry per line, never trimmed.
class COutputList : public QListWidget {
    Q_OBJECT
  public:
    explicit COutputList(QWidget* parent = nullptr);

    // The whole list as text: every entry followed by CR LF.
    QString AllText() const;

  public slots:
    void OnEditCopy();   // command 57634
    void OnEditClear();  // command 57632
    void OnViewOutput(); // command 149: hides the pane

  signals:
    void hideRequested();

  protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
};

class COutputWnd : public QDockWidget {
    Q_OBJECT
  public:
    explicit COutputWnd(QWidget* parent = nullptr);

    // Adds the line as the last entry of the pane's list and selects it; the
    // visible tab stays as it is.
    void AppendLogLine(LogPane pane, const QString& text);
    void SelectMessagesTab();

    COutputList* List(LogPane pane) const;
    QTabWidget* Tabs() const { return tabs_; }

  private:
    QTabWidget* tabs_;
    COutputList* messages_;
    COutputList* debug_;
};

} // namespace kib::gui
