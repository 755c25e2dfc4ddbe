#include "gui/map_view.h"

#include "app/builtin_convert.h"
#include "config/kib_doc.h"
#include "gui/qt_text.h"

#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QPixmap>
#include <QScrollArea>
#include <QVBoxLayout>

namespace kib::gui {

namespace {

// The width the canvas is shown at, in pixels: large enough to read the
// description row and the board.
constexpr int kShownWidth = 760;

QString HeadingOf(const MapViewItem& item) {
    return item.task == 0 ? QString::asprintf("Station %d – cover", item.station)
                          : QString::asprintf("Station %d – task %d", item.station, item.task);
}

} // namespace

CMapView::CMapView(std::shared_ptr<CKibDoc> doc, QWidget* parent)
    : QDialog(parent), doc_(std::move(doc)), items_(MapViewSequence(*doc_)),
      heading_(new QLabel(this)), note_(new QLabel(this)), picture_(new QLabel),
      scroll_(new QScrollArea(this)) {
    setObjectName(QStringLiteral("MapView"));
    setWindowTitle(tr("Map - %1").arg(ToQt(doc_->GetFileName())));
    QFont big = heading_->font();
    big.setPointSizeF(big.pointSizeF() * 1.3);
    big.setBold(true);
    heading_->setFont(big);
    note_->setStyleSheet(QStringLiteral("color: #a00; font-weight: bold"));
    note_->setWordWrap(true);
    picture_->setAlignment(Qt::AlignCenter);
    picture_->setBackgroundRole(QPalette::Base);
    scroll_->setWidget(picture_);
    scroll_->setWidgetResizable(true);
    auto* hint = new QLabel(tr("Page Up / Page Down: previous / next task"), this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading_);
    layout->addWidget(note_);
    layout->addWidget(scroll_, 1);
    layout->addWidget(hint);
    resize(kShownWidth + 60, 900);
    ShowItem(0);
}

void CMapView::ShowItem(int index) {
    if (items_.empty()) {
        heading_->setText(tr("No stations"));
        note_->setText(tr("The configuration names no station (Event.MINSTAT .. MAXSTAT)."));
        picture_->clear();
        return;
    }
    index_ = std::clamp(index, 0, static_cast<int>(items_.size()) - 1);
    const MapViewItem& item = Item();
    heading_->setText(HeadingOf(item));
    const QString note = ToQt(MapSheetNote(*doc_, item));
    note_->setText(note);
    note_->setVisible(!note.isEmpty());
    SheetPicture rendered;
    std::string error;
    const std::string sheet = MapSheetPath(*doc_, item);
    if (!RenderSheetPicture(sheet, kShownWidth, true, rendered, error)) {
        picture_->setPixmap(QPixmap());
        picture_->setText(note.isEmpty() ? ToQt(sheet + ": " + error) : QString());
        return;
    }
    const QImage image(reinterpret_cast<const uchar*>(rendered.pixels.data()), rendered.width,
                       rendered.height, rendered.width * 4, QImage::Format_RGB32);
    picture_->setPixmap(QPixmap::fromImage(image.copy()));
}

void CMapView::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_PageDown:
        ShowItem(index_ + 1);
        return;
    case Qt::Key_PageUp:
        ShowItem(index_ - 1);
        return;
    default:
        QDialog::keyPressEvent(event);
    }
}

} // namespace kib::gui
