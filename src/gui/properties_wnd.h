// The properties pane: the editor of the active document's configuration. One
// group per section and, on demand, per station; labels, help texts and choices
// come from the configuration's key table, and every edit goes through the
// configuration item, which checks and stores it.
#pragma once

#include "config/kib_cfg.h"
#include "config/property_pane.h"
#include "gui/property_grid.h"

#include <QDockWidget>

#include <functional>
#include <memory>
#include <vector>

class QAction;

namespace kib::gui {

class CPropertiesWnd : public QDockWidget, public PropertyPane {
    Q_OBJECT
  public:
    explicit CPropertiesWnd(QWidget* parent = nullptr);
    ~CPropertiesWnd() override;

    // PropertyPane
    void AttachDocument(CKibDoc* doc) override;
    void ForgetOriginalValues() override;
    void ShowValue(int itemId, const std::string& valueText) override;
    void ShowStationRange(int first, int last) override;
    void UpdateVisibility() override;
    void HideAll() override;

    // Refills the grid from a document (after a tab switch).
    void ShowDocument(CKibDoc* doc);
    CKibDoc* Document() const { return doc_; }
    // The editing flow of one committed value.
    void OnPropertyChanged(int id, const GridValue& value);

    CPropertyGrid* Grid() const { return grid_; }
    int StationGroupCount() const { return static_cast<int>(stationGroups_.size()); }
    bool IsGroupVisible(const QString& name) const;

    // What the pane asks of the main window after an accepted edit.
    std::function<void()> onTabColourChanged; // Event.TABCOLOR: recolour the tabs
    std::function<void()> onRejected;         // bring the Messages tab to the front

  private:
    void BuildGrid();
    void AddStationGroup();
    void EnsureStationGroups(int last);
    void ShowStations(int first, int last);
    void OnBrowse(int id);
    QVariant ShownValue(const CCfgItem& item) const;

    CPropertyGrid* grid_;
    QAction* expandAction_ = nullptr;
    QAction* sortAction_ = nullptr;
    std::unique_ptr<CKibCfg> defaults_; // the values a reset returns to
    std::vector<QTreeWidgetItem*> sectionGroups_;
    std::vector<QTreeWidgetItem*> stationGroups_;
    CKibDoc* doc_ = nullptr;
};

} // namespace kib::gui
