#include "gui/toolbar_icons.h"

#include "gui/main_frame.h"

#include <QPainter>
#include <QPixmap>
#include <QStyle>

namespace kib::gui {

namespace {

// A small badge: a coloured square with one or two letters.
QIcon Badge(const QString& letters, const QColor& colour) {
    QPixmap pm(24, 24);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(colour.darker(160));
    p.setBrush(colour);
    p.drawRoundedRect(QRectF(1.5, 1.5, 21, 21), 4, 4);
    QFont f = p.font();
    f.setBold(true);
    f.setPixelSize(letters.size() > 1 ? 10 : 14);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(QRect(0, 0, 24, 24), Qt::AlignCenter, letters);
    return QIcon(pm);
}

// The preview kinds: a map circle for competition, a sheet with rows for solutions.
QIcon ModeIcon(bool solution) {
    QPixmap pm(24, 24);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(3.5, 1.5, 17, 21));
    p.setPen(QPen(QColor(166, 38, 255), 2));
    p.setBrush(Qt::NoBrush);
    if (solution) {
        p.drawRect(QRectF(6, 5, 12, 6));
        p.drawRect(QRectF(6, 13, 12, 6));
    } else {
        p.drawEllipse(QPointF(12, 12), 6, 6);
    }
    return QIcon(pm);
}

} // namespace

QIcon CommandIcon(int commandId, const QStyle* style) {
    const QColor competition(40, 110, 200);
    const QColor solution(30, 150, 80);
    switch (commandId) {
    case cmd::FileNew:
        return style->standardIcon(QStyle::SP_FileIcon);
    case cmd::FileOpen:
        return style->standardIcon(QStyle::SP_DialogOpenButton);
    case cmd::FileSave:
        return style->standardIcon(QStyle::SP_DialogSaveButton);
    case cmd::EditCut:
        return Badge(QStringLiteral("X"), QColor(120, 120, 120));
    case cmd::EditCopy:
        return Badge(QStringLiteral("C"), QColor(120, 120, 120));
    case cmd::EditPaste:
        return Badge(QStringLiteral("V"), QColor(120, 120, 120));
    case cmd::ViewCompetition:
        return ModeIcon(false);
    case cmd::ViewSolution:
        return ModeIcon(true);
    case cmd::MakeMapSvgs:
        return Badge(QStringLiteral("MS"), competition);
    case cmd::MakeMapImages:
        return Badge(QStringLiteral("MI"), competition);
    case cmd::MakeSolSvgs:
        return Badge(QStringLiteral("SS"), solution);
    case cmd::MakeSolImages:
        return Badge(QStringLiteral("SI"), solution);
    case cmd::Stop:
        return Badge(QStringLiteral("\u25A0"), QColor(200, 40, 40));
    case cmd::FilePrint:
        return Badge(QStringLiteral("P"), QColor(90, 90, 90));
    case cmd::AppAbout:
        return QIcon(QStringLiteral(":/kib/kib.svg"));
    default:
        return {};
    }
}

} // namespace kib::gui
