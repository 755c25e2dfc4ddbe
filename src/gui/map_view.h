// View → Map: the actual competition map of a station and task as it will
// print, rendered from the sheet the document's last Make Vector Maps run wrote
// or kept (by the same renderer as the proof page, which draws the exports'
// patterns), with Page Up / Page Down and the arrow keys (whatever has the
// focus), Previous / Next buttons and a station and task chooser stepping
// through every canvas of that run, and a note when the sheet is gone or older
// than what it was made from; before a run, a note that asks for one.
#pragma once

#include "app/map_view_model.h"

#include <QDialog>

#include <memory>

class QComboBox;
class QLabel;
class QPushButton;
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
    QPushButton* PreviousButton() const { return previous_; }
    QPushButton* NextButton() const { return next_; }
    QComboBox* StationChooser() const { return stations_; }
    QComboBox* TaskChooser() const { return tasks_; }

  protected:
    // The stepping keys reach the view from every child, before a scroll area,
    // a button or a chooser can take them for itself.
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // The position of the station's canvas task in the sequence, -1 when none.
    int IndexOf(int station, int task) const;
    // The number of tasks (canvases after the cover) of the station.
    int TasksOf(int station) const;
    void FillTaskChooser(int station);
    void OnStationChosen(int comboIndex);
    void OnTaskChosen(int comboIndex);
    // Steps to the previous or next canvas; false for any other key.
    bool StepKey(int key);

    std::shared_ptr<CKibDoc> doc_;
    std::vector<MapViewItem> items_;
    int index_ = 0;
    bool filling_ = false; // the choosers are being set by ShowItem
    QLabel* heading_;
    QLabel* note_;
    QLabel* picture_;
    QScrollArea* scroll_;
    QPushButton* previous_;
    QPushButton* next_;
    QComboBox* stations_;
    QComboBox* tasks_;
};

} // namespace kib::gui
