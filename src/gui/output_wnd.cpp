#include "gui/output_wnd.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QMenu>
#include <QTabWidget>

namespace kib::gui {

COutputList::COutputList(QWidget* parent) : QListWidget(parent) {
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSortingEnabled(false);
    setUniformItemSizes(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
}

QString COutputList::AllText() const {
    QString text;
    for (int i = 0; i < count(); ++i) {
        text += item(i)->text();
        text += QStringLiteral("\r\n");
    }
    return text;
}

void COutputList::OnEditCopy() {
    QApplication::clipboard()->setText(AllText());
}

void COutputList::OnEditClear() {
    clear();
}

void COutputList::OnViewOutput() {
    emit hideRequested();
}

void COutputList::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    menu.addAction(tr("&Copy"), this, &COutputList::OnEditCopy);
    menu.addAction(tr("&Clear"), this, &COutputList::OnEditClear);
    menu.addSeparator();
    menu.addAction(tr("&Hide"), this, &COutputList::OnViewOutput);
    menu.exec(event->globalPos());
}

COutputWnd::COutputWnd(QWidget* parent)
    : QDockWidget(tr("Output"), parent), tabs_(new QTabWidget(this)),
      messages_(new COutputList(tabs_)), debug_(new COutputList(tabs_)) {
    setObjectName(QStringLiteral("OutputPane"));
    tabs_->setTabPosition(QTabWidget::South);
    tabs_->setDocumentMode(true);
    tabs_->addTab(messages_, tr("Messages"));
    tabs_->addTab(debug_, tr("Debug"));
    setWidget(tabs_);
    resize(150, 150);
    for (COutputList* list : {messages_, debug_}) {
        connect(list, &COutputList::hideRequested, this, [this] {
            if (parentWidget() != nullptr) {
                parentWidget()->setFocus();
            }
            hide();
        });
    }
}

COutputList* COutputWnd::List(LogPane pane) const {
    return pane == LogPane::Messages ? messages_ : debug_;
}

void COutputWnd::AppendLogLine(LogPane pane, const QString& text) {
    COutputList* list = List(pane);
    list->addItem(text);
    list->setCurrentRow(list->count() - 1);
}

void COutputWnd::SelectMessagesTab() {
    tabs_->setCurrentWidget(messages_);
}

} // namespace kib::gui
