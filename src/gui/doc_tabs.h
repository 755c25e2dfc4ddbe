// The tab bar of the open documents: each tab has a background colour of its
// own (the document's tab colour).
#pragma once

#include <QTabBar>
#include <QTabWidget>

namespace kib::gui {

class CDocTabBar : public QTabBar {
    Q_OBJECT
  public:
    explicit CDocTabBar(QWidget* parent = nullptr);

    void SetTabColor(int index, const QColor& colour);
    QColor TabColor(int index) const;

  protected:
    void paintEvent(QPaintEvent* event) override;
};

class CDocTabs : public QTabWidget {
    Q_OBJECT
  public:
    explicit CDocTabs(QWidget* parent = nullptr);
    CDocTabBar* Bar() const { return bar_; }

  private:
    CDocTabBar* bar_;
};

} // namespace kib::gui
