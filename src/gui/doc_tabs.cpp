#include "gui/doc_tabs.h"

#include <QStyleOptionTab>
#include <QStylePainter>

namespace kib::gui {

CDocTabBar::CDocTabBar(QWidget* parent) : QTabBar(parent) {
    setDocumentMode(true);
    setExpanding(false);
    setMovable(true);
    setTabsClosable(true);
}

void CDocTabBar::SetTabColor(int index, const QColor& colour) {
    if (index >= 0 && index < count()) {
        setTabData(index, colour);
        update();
    }
}

QColor CDocTabBar::TabColor(int index) const {
    const QVariant v = tabData(index);
    return v.canConvert<QColor>() ? v.value<QColor>() : QColor(Qt::white);
}

// Every tab is drawn with its shape, its own background colour and its label.
void CDocTabBar::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    for (int i = 0; i < count(); ++i) {
        QStyleOptionTab option;
        initStyleOption(&option, i);
        painter.drawControl(QStyle::CE_TabBarTabShape, option);
        const QRect inner = option.rect.adjusted(2, 2, -2, i == currentIndex() ? 0 : -1);
        painter.fillRect(inner, TabColor(i));
        if (i == currentIndex()) {
            painter.setPen(QPen(palette().highlight().color(), 2));
            painter.drawLine(inner.bottomLeft(), inner.bottomRight());
        }
        painter.drawControl(QStyle::CE_TabBarTabLabel, option);
    }
}

CDocTabs::CDocTabs(QWidget* parent) : QTabWidget(parent), bar_(new CDocTabBar(this)) {
    setTabBar(bar_);
    setDocumentMode(true);
}

} // namespace kib::gui
