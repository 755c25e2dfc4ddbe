// View → Map: the actual competition map of a station and task as it will
// print, rendered from the sheet Make Vector Maps wrote (by the same renderer
// as the proof page, which draws the exports' patterns), with Page Up / Page
// Down stepping through the tasks and stations and a note when the sheet is
// missing or older than what it was made from.
#pragma once

#include "app/map_view_model.h"

#include <QDialog>

#include <memory>

class QLabel;
class QScrollArea;

namespace kib {
class CKibDoc;
}

namespace kib::gui {

class CMapView : public QDialog {
    Q_OBJECT
  public:
    // The view keeps the document while it is open.
    CMapView(std::shared_ptr<CKibDoc> doc, QWidget* parent = nullptr);

    // Shows the canvas at position index of the event's sequence (clamped).
    void ShowItem(int index);
    int Index() const { return index_; }
    const MapViewItem& Item() const { return items_[static_cast<std::size_t>(index_)]; }
    QLabel* Picture() const { return picture_; }
    QLabel* Note() const { return note_; }
    QLabel* Heading() const { return heading_; }

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    std::shared_ptr<CKibDoc> doc_;
    std::vector<MapViewItem> items_;
    int index_ = 0;
    QLabel* heading_;
    QLabel* note_;
    QLabel* picture_;
    QScrollArea* scroll_;
};

} // namespace kib::gui
