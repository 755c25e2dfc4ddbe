#include "gui/map_view.h"

#include "app/builtin_convert.h"
#include "config/kib_doc.h"
#include "gui/qt_text.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

#include <algorithm>

namespace kib::gui {

namespace {

// The width the canvas is shown at, in pixels: large enough to read the
// description row and the board.
constexpr int kShownWidth = 760;

QString HeadingOf(const MapViewItem& item, int tasks) {
    return item.task == 0
               ? QString::asprintf("Station %d – cover (%d tasks)", item.station, tasks)
               : QString::asprintf("Station %d – task %d of %d", item.station, item.task, tasks);
}

} // namespace

CMapView::CMapView(std::shared_ptr<CKibDoc> doc, QWidget* parent)
    : QDialog(parent), doc_(std::move(doc)), items_(MapViewSequence(*doc_)),
      heading_(new QLabel(this)), note_(new QLabel(this)), picture_(new QLabel),
      scroll_(new QScrollArea(this)), previous_(new QPushButton(tr("◀ Previous"), this)),
      next_(new QPushButton(tr("Next ▶"), this)), stations_(new QComboBox(this)),
      tasks_(new QComboBox(this)) {
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
    previous_->setObjectName(QStringLiteral("PreviousCanvas"));
    next_->setObjectName(QStringLiteral("NextCanvas"));
    previous_->setAutoDefault(false);
    next_->setAutoDefault(false);
    stations_->setObjectName(QStringLiteral("StationChooser"));
    tasks_->setObjectName(QStringLiteral("TaskChooser"));
    for (const MapViewItem& item : items_) {
        if (stations_->findData(item.station) < 0) {
            stations_->addItem(tr("Station %1").arg(item.station), item.station);
        }
    }
    connect(previous_, &QPushButton::clicked, this, [this] { ShowItem(index_ - 1); });
    connect(next_, &QPushButton::clicked, this, [this] { ShowItem(index_ + 1); });
    connect(stations_, &QComboBox::currentIndexChanged, this, &CMapView::OnStationChosen);
    connect(tasks_, &QComboBox::currentIndexChanged, this, &CMapView::OnTaskChosen);

    auto* bar = new QHBoxLayout;
    bar->addWidget(previous_);
    bar->addWidget(stations_);
    bar->addWidget(tasks_);
    bar->addWidget(next_);
    bar->addStretch(1);
    auto* hint =
        new QLabel(tr("Page Up / Page Down or the arrow keys: previous / next canvas"), this);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addWidget(heading_);
    layout->addWidget(note_);
    layout->addWidget(scroll_, 1);
    layout->addWidget(hint);
    resize(kShownWidth + 60, 900);
    installEventFilter(this);
    for (QWidget* child : findChildren<QWidget*>()) {
        child->installEventFilter(this);
    }
    ShowItem(0);
}

int CMapView::IndexOf(int station, int task) const {
    for (std::size_t i = 0; i < items_.size(); ++i) {
        if (items_[i].station == station && items_[i].task == task) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

int CMapView::TasksOf(int station) const {
    int tasks = 0;
    for (const MapViewItem& item : items_) {
        if (item.station == station) {
            tasks = std::max(tasks, item.task);
        }
    }
    return tasks;
}

void CMapView::FillTaskChooser(int station) {
    tasks_->clear();
    for (const MapViewItem& item : items_) {
        if (item.station == station) {
            tasks_->addItem(item.task == 0 ? tr("Cover") : tr("Task %1").arg(item.task), item.task);
        }
    }
}

void CMapView::OnStationChosen(int comboIndex) {
    if (filling_ || comboIndex < 0) {
        return;
    }
    const int station = stations_->itemData(comboIndex).toInt();
    // The station's first canvas: its cover, or its first task where it has none.
    for (std::size_t i = 0; i < items_.size(); ++i) {
        if (items_[i].station == station) {
            ShowItem(static_cast<int>(i));
            return;
        }
    }
}

void CMapView::OnTaskChosen(int comboIndex) {
    if (filling_ || comboIndex < 0 || items_.empty()) {
        return;
    }
    const int index = IndexOf(Item().station, tasks_->itemData(comboIndex).toInt());
    if (index >= 0) {
        ShowItem(index);
    }
}

void CMapView::ShowItem(int index) {
    if (items_.empty()) {
        heading_->setText(tr("No competition maps"));
        note_->setText(ToQt(MapViewEmptyNote(*doc_)));
        note_->setVisible(true);
        picture_->clear();
        previous_->setEnabled(false);
        next_->setEnabled(false);
        return;
    }
    index_ = std::clamp(index, 0, static_cast<int>(items_.size()) - 1);
    const MapViewItem& item = Item();
    const QString heading = HeadingOf(item, TasksOf(item.station));
    heading_->setText(heading);
    setWindowTitle(tr("Map - %1: %2").arg(ToQt(doc_->GetFileName()), heading));
    previous_->setEnabled(index_ > 0);
    next_->setEnabled(index_ + 1 < static_cast<int>(items_.size()));
    filling_ = true;
    stations_->setCurrentIndex(stations_->findData(item.station));
    FillTaskChooser(item.station);
    tasks_->setCurrentIndex(tasks_->findData(item.task));
    filling_ = false;

    const QString note = ToQt(MapSheetNote(*doc_, item));
    note_->setText(note);
    note_->setVisible(!note.isEmpty());
    SheetPicture rendered;
    std::string error;
    const std::string& sheet = item.sheet;
    if (!RenderSheetPicture(sheet, kShownWidth, true, rendered, error)) {
        picture_->setPixmap(QPixmap());
        picture_->setText(note.isEmpty() ? ToQt(sheet + ": " + error) : QString());
        return;
    }
    const QImage image(reinterpret_cast<const uchar*>(rendered.pixels.data()), rendered.width,
                       rendered.height, rendered.width * 4, QImage::Format_RGB32);
    picture_->setPixmap(QPixmap::fromImage(image.copy()));
}

bool CMapView::StepKey(int key) {
    switch (key) {
    case Qt::Key_PageDown:
    case Qt::Key_Right:
    case Qt::Key_Down:
        ShowItem(index_ + 1);
        return true;
    case Qt::Key_PageUp:
    case Qt::Key_Left:
    case Qt::Key_Up:
        ShowItem(index_ - 1);
        return true;
    default:
        return false;
    }
}

bool CMapView::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->modifiers() == Qt::NoModifier || key->modifiers() == Qt::KeypadModifier) {
            if (StepKey(key->key())) {
                return true;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace kib::gui
