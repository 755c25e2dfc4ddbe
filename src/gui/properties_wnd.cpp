#include "gui/properties_wnd.h"

#include "config/cfg_ids.h"
#include "config/kib_doc.h"
#include "config/pane_layout.h"
#include "foundation/app_state.h"
#include "foundation/log.h"
#include "gui/qt_text.h"
#include "sheet/check_layout.h"

#include <QFileDialog>
#include <QFontDatabase>
#include <QToolBar>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace kib::gui {

namespace {

QVariant FromGridValue(const GridValue& v) {
    switch (v.type) {
    case GridValue::Type::Int:
        return v.i;
    case GridValue::Type::UInt:
        return static_cast<int>(v.u);
    case GridValue::Type::Text:
        return ToQt(v.text);
    case GridValue::Type::Empty:
        break;
    }
    return QString();
}

QStringList FontFamilies() {
    QStringList families;
    for (const QString& f : QFontDatabase::families()) {
        if (!f.startsWith(QLatin1Char('@'))) {
            families << f;
        }
    }
    return families;
}

} // namespace

CPropertiesWnd::CPropertiesWnd(QWidget* parent)
    : QDockWidget(tr("Properties"), parent), grid_(nullptr), defaults_(new CKibCfg()) {
    setObjectName(QStringLiteral("PropertiesPane"));
    auto* body = new QWidget(this);
    auto* layout = new QVBoxLayout(body);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* toolbar = new QToolBar(body);
    toolbar->setIconSize(QSize(16, 16));
    expandAction_ = toolbar->addAction(tr("Expand/Collapse All"));
    expandAction_->setToolTip(tr("Expand or collapse all groups"));
    sortAction_ = toolbar->addAction(tr("Sort A-Z"));
    sortAction_->setCheckable(true);
    sortAction_->setToolTip(tr("Alphabetical"));
    layout->addWidget(toolbar);
    grid_ = new CPropertyGrid(body);
    layout->addWidget(grid_, 1);
    setWidget(body);
    resize(400, 400);

    connect(expandAction_, &QAction::triggered, grid_, &CPropertyGrid::ToggleExpandAll);
    connect(sortAction_, &QAction::toggled, grid_, &CPropertyGrid::SetAlphabetic);
    connect(grid_, &CPropertyGrid::valueCommitted, this, &CPropertiesWnd::OnPropertyChanged);
    connect(grid_, &CPropertyGrid::browseRequested, this, &CPropertiesWnd::OnBrowse);
    BuildGrid();
}

CPropertiesWnd::~CPropertiesWnd() = default;

void CPropertiesWnd::BuildGrid() {
    grid_->SetFontFamilies(FontFamilies());
    for (const PaneGroup& layout : PaneGroups()) {
        const CCfgSect* section = defaults_->FindSectionById(layout.sectionId);
        QTreeWidgetItem* group = grid_->AddGroup(ToQt(section->GetName()));
        for (int id : layout.itemIds) {
            const CCfgItem* item = defaults_->FindItemById(id);
            grid_->AddProperty(group, {id, PaneEntryOf(*item), ToQt(item->GetDef().paneLabel),
                                       ToQt(item->GetDef().paneHelp),
                                       [&] {
                                           QStringList c;
                                           for (const char* choice : item->GetDef().choices) {
                                               c << ToQt(choice);
                                           }
                                           return c;
                                       }(),
                                       FromGridValue(item->GetDefaultVariant())});
        }
        sectionGroups_.push_back(group);
        grid_->SetGroupVisible(group, false);
    }
}

void CPropertiesWnd::AddStationGroup() {
    const int n = static_cast<int>(stationGroups_.size());
    const CCfgSect* section = defaults_->Station(n);
    QTreeWidgetItem* group = grid_->AddGroup(ToQt(section->GetName()));
    for (int station0Id : PaneStationItems()) {
        const CCfgItem* item = section->FindItemById(StationItemId(n, station0Id));
        QStringList choices;
        for (const char* choice : item->GetDef().choices) {
            choices << ToQt(choice);
        }
        grid_->AddProperty(group, {item->GetId(), PaneEntryOf(*item),
                                   ToQt(item->GetDef().paneLabel), ToQt(item->GetDef().paneHelp),
                                   choices, FromGridValue(item->GetDefaultVariant())});
    }
    stationGroups_.push_back(group);
}

void CPropertiesWnd::EnsureStationGroups(int last) {
    last = std::min(last, kMaxStation);
    while (static_cast<int>(stationGroups_.size()) <= last) {
        AddStationGroup();
    }
}

void CPropertiesWnd::ShowStations(int first, int last) {
    EnsureStationGroups(last);
    for (int n = 0; n < static_cast<int>(stationGroups_.size()); ++n) {
        grid_->SetGroupVisible(stationGroups_[n], n >= first && n <= last);
    }
}

void CPropertiesWnd::AttachDocument(CKibDoc* doc) {
    doc_ = doc;
}

void CPropertiesWnd::ForgetOriginalValues() {
    grid_->ResetToOriginals();
}

void CPropertiesWnd::ShowDocument(CKibDoc* doc) {
    grid_->ResetToOriginals();
    doc_ = doc;
    if (doc == nullptr || doc->GetConfig() == nullptr) {
        HideAll();
        return;
    }
    App().Log().Debug("Filling PropertiesWnd by data for %s", doc->GetPathName().c_str());
    doc->GetConfig()->PushToProperties();
}

void CPropertiesWnd::ShowValue(int itemId, const std::string& valueText) {
    if (itemId >= kStationIdBase) {
        EnsureStationGroups((itemId - kStationIdBase) / 100);
    }
    if (!grid_->HasProperty(itemId)) {
        return; // items without a pane entry
    }
    const bool colour = grid_->Original(itemId).typeId() == QMetaType::Int;
    grid_->SetValue(itemId, colour ? QVariant(PaneColour(valueText)) : QVariant(ToQt(valueText)));
}

void CPropertiesWnd::ShowStationRange(int first, int last) {
    ShowStations(first, last);
}

void CPropertiesWnd::HideAll() {
    for (QTreeWidgetItem* group : sectionGroups_) {
        grid_->SetGroupVisible(group, false);
    }
    for (QTreeWidgetItem* group : stationGroups_) {
        grid_->SetGroupVisible(group, false);
    }
    doc_ = nullptr;
}

bool CPropertiesWnd::IsGroupVisible(const QString& name) const {
    const QTreeWidgetItem* group = grid_->Group(name);
    return group != nullptr && !group->isHidden();
}

// Which groups and properties the document's settings make meaningful.
void CPropertiesWnd::UpdateVisibility() {
    const CKibCfg* cfg = doc_ ? doc_->GetConfig() : nullptr;
    if (cfg == nullptr) {
        return;
    }
    for (QTreeWidgetItem* group : sectionGroups_) {
        grid_->SetGroupVisible(group, true);
    }
    const PaneVisibility visibility = PaneVisibilityOf(*cfg);
    ShowStations(visibility.firstStation, visibility.lastStation);
    for (const auto& [itemId, shown] : visibility.items) {
        grid_->SetPropertyVisible(itemId, shown);
    }
    for (const auto& [name, shown] : visibility.groups) {
        grid_->SetGroupVisible(grid_->Group(QString::fromLatin1(name)), shown);
    }
}

// What the property shows for an item: its value text, or its default when it
// has none of its own (the value it showed before a refused edit).
QVariant CPropertiesWnd::ShownValue(const CCfgItem& item) const {
    if (item.GetKind() == ItemKind::Colour) {
        return static_cast<const CCfgColorItem&>(item).GetColor();
    }
    return item.IsSet() ? QVariant(ToQt(item.GetValueText())) : grid_->Original(item.GetId());
}

void CPropertiesWnd::OnPropertyChanged(int id, const GridValue& value) {
    CKibCfg* cfg = doc_ ? doc_->GetConfig() : nullptr;
    CCfgItem* item = cfg ? cfg->FindItemById(id) : nullptr;
    if (item == nullptr) {
        App().Log().Error("Internal error - cannot find property ID %d", id);
        return;
    }
    if (!item->SetVariant(value)) {
        if (onRejected) {
            onRejected();
        }
        ShowBox("Invalid parametr value!", BoxIcon::Error);
        grid_->SetValue(id, ShownValue(*item));
        return;
    }
    App().Log().Info("Parameter %s changed to '%s'.", FromQt(grid_->Label(id)).c_str(),
                     item->GetValueText().c_str());
    grid_->SetValue(id, ShownValue(*item));
    CKibDoc* doc = doc_;
    doc->SetModifiedFlag(true);
    UpdateVisibility();
    CheckLayout(*doc, true);
    if (id == id::Event_TABCOLOR) {
        if (onTabColourChanged) {
            onTabColourChanged();
        }
    } else if (id == id::System_DEBUGGING) {
        SetDebugSwitchFromValue(item->GetValue());
    } else {
        doc->NotifyChanged();
    }
}

void CPropertiesWnd::OnBrowse(int id) {
    if (doc_ == nullptr) {
        return;
    }
    const QString current = grid_->Value(id).toString();
    if (id == id::Solutions_LOGO) {
        const QString start = ToQt(doc_->MakePath(FromQt(current)));
        const QString file =
            QFileDialog::getOpenFileName(this, QString(), start, tr("All Files(*)"));
        if (!file.isEmpty()) {
            grid_->SetValue(id, file);
            OnPropertyChanged(id, GridValue::Text(FromQt(file)));
        }
        return;
    }
    const std::string start = doc_->MakePath(FromQt(current));
    const std::optional<std::string> chosen = App().GetHost().ChooseFolder(start);
    if (!chosen) {
        return;
    }
    std::string folder = *chosen;
    if (!folder.empty() && folder.back() != '/') {
        folder += '/';
    }
    const bool absolute = StoresAbsolutePath(id);
    const std::string text = absolute ? doc_->MakePath(folder) : doc_->MakeRelativePath(folder);
    grid_->SetValue(id, ToQt(text));
    OnPropertyChanged(id, GridValue::Text(text));
}

} // namespace kib::gui
