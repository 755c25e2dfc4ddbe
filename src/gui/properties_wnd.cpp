#include "gui/properties_wnd.h"

#include "config/cfg_ids.h"
#include "config/kib_doc.h"
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
#include <cstdio>
#include <initializer_list>

namespace kib::gui {

namespace {

// The pane's groups and the order of their properties (item ids).
struct GroupLayout {
    std::initializer_list<int> ids;
};

const GroupLayout kGroups[] = {
    {{111, 112, 115, 101, 102, 103, 104, 114, 105, 110, 106, 113, 107, 108, 109}}, // Event
    {{202, 203, 204, 205, 206, 210, 211, 212, 213, 208, 209}},                     // Source
    {{301, 304, 302, 303, 305, 306, 307, 310, 308, 309}},                          // Target
    {{401, 402}},                                                                  // System
    {{501, 502, 503}},                                                             // Text
    {{701, 702, 703, 706, 705, 704, 707}},                                         // Heading
    {{801, 802, 803, 804, 805}},                                                   // MapSegment
    {{901, 902, 903}},                                                             // MapBorder
    {{1001, 1002, 1003}},                                                          // MapColors
    {{1101, 1105, 1102, 1103, 1104, 1106}},                                        // NorthArrow
    {{1301, 1303, 1302, 1304}},                                                    // Descriptions
    {{1201, 1209, 1210, 1202, 1203, 1204, 1205, 1206, 1207, 1208}},                // OrderTabs
    {{1401, 1406, 1402, 1404, 1403, 1405}},                                        // PointBoard
    {{603, 602, 601}},                                                             // Cover
    {{1501, 1514, 1509, 1521, 1511, 1512, 1510, 1502, 1504, 1505, 1518, 1519, 1520, 1503, 1513,
      1506, 1507, 1508, 1515}}, // Solutions
};

// Item numbers of a station group, in the order shown.
constexpr int kStationItems[] = {3, 4, 1, 2, 5, 7, 6};

constexpr int kStationGroupBase = kStationIdBase;

PropKind KindOf(const CCfgItem& item) {
    const int id = item.GetId();
    if (item.GetKind() == ItemKind::Colour) {
        return PropKind::Colour;
    }
    if (item.GetKey() == "FONTNAME") {
        return PropKind::Font;
    }
    if (id == id::Target_DIR || id == id::System_INKSCAPEPATH) {
        return PropKind::Directory;
    }
    if (id == id::Solutions_LOGO) {
        return PropKind::File;
    }
    return item.GetDef().choices.size() != 0 ? PropKind::Choice : PropKind::Text;
}

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

// "R G B" as one colour; an unreadable text is black.
int ParseColour(const std::string& text) {
    int r = 0;
    int g = 0;
    int b = 0;
    if (std::sscanf(text.c_str(), "%d %d %d", &r, &g, &b) != 3) {
        return 0;
    }
    return (r & 0xFF) + 256 * (g & 0xFF) + 65536 * (b & 0xFF);
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
    for (const GroupLayout& layout : kGroups) {
        const CCfgSect* section = defaults_->FindSectionById(*layout.ids.begin());
        QTreeWidgetItem* group = grid_->AddGroup(ToQt(section->GetName()));
        for (int id : layout.ids) {
            const CCfgItem* item = defaults_->FindItemById(id);
            grid_->AddProperty(group, {id, KindOf(*item), ToQt(item->GetDef().paneLabel),
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
    for (int k : kStationItems) {
        const CCfgItem* item = section->FindItemById(kStationGroupBase + 100 * n + k);
        QStringList choices;
        for (const char* choice : item->GetDef().choices) {
            choices << ToQt(choice);
        }
        grid_->AddProperty(group, {item->GetId(), KindOf(*item), ToQt(item->GetDef().paneLabel),
                                   ToQt(item->GetDef().paneHelp), choices,
                                   FromGridValue(item->GetDefaultVariant())});
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
    LogDebug("Filling PropertiesWnd by data for %s", doc->GetPathName().c_str());
    doc->GetConfig()->PushToProperties();
}

void CPropertiesWnd::ShowValue(int itemId, const std::string& valueText) {
    if (itemId >= kStationGroupBase) {
        EnsureStationGroups((itemId - kStationGroupBase) / 100);
    }
    if (!grid_->HasProperty(itemId)) {
        return; // items without a pane entry
    }
    const bool colour = grid_->Original(itemId).typeId() == QMetaType::Int;
    grid_->SetValue(itemId, colour ? QVariant(ParseColour(valueText)) : QVariant(ToQt(valueText)));
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
    auto first = [cfg](int itemId) {
        const std::string& v = cfg->Item(itemId).GetValue();
        return v.empty() ? '\0' : v[0];
    };
    auto upperFirst = [&](int itemId) {
        return static_cast<char>(std::toupper(static_cast<unsigned char>(first(itemId))));
    };
    const bool ant = first(id::Target_MODE) == 'A';
    const bool web = first(id::Target_MODE) == 'W';
    auto show = [this](int itemId, bool visible) { grid_->SetPropertyVisible(itemId, visible); };
    auto showGroup = [this](const char* name, bool visible) {
        grid_->SetGroupVisible(grid_->Group(QString::fromLatin1(name)), visible);
    };

    for (QTreeWidgetItem* group : sectionGroups_) {
        grid_->SetGroupVisible(group, true);
    }
    ShowStations(cfg->GetMinStation(), std::min(cfg->GetMaxStation(), kMaxStation));
    show(id::Source_COURSES, true);
    const bool otherCanvas = first(id::Target_CANVAS) != 'A';
    show(id::Target_CANVASW, otherCanvas);
    show(id::Target_CANVASH, otherCanvas);
    const bool paper = !ant && !web;
    show(id::Target_CANVAS, paper);
    show(id::Target_SHEET, paper);
    for (const char* name : {"Text", "Heading", "OrderTabs", "PointBoard", "Cover"}) {
        showGroup(name, paper);
    }
    show(id::MapSegment_TOP, web);
    show(id::MapSegment_BOTTOM, web);
    showGroup("MapBorder", !web);
    show(id::NorthArrow_SIDE, !web);
    show(id::NorthArrow_LINKAGE, !web);
    show(id::MapColors_PURPLECOLOR, first(id::MapColors_PURPLEMODE) == 'D');
    show(id::NorthArrow_LINES, !web && first(id::MapSegment_SHAPE) != 'S');
    const bool tabs = upperFirst(id::OrderTabs_DRAW) != 'N';
    for (int itemId : {1209, 1210, 1202, 1203, 1204, 1205, 1206, 1207, 1208}) {
        show(itemId, tabs);
    }
    const bool board = upperFirst(id::PointBoard_DRAW) != 'N';
    for (int itemId : {1406, 1402, 1404, 1403, 1405}) {
        show(itemId, board);
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
        LogError("[** ERROR **] Internal error - cannot find property ID %d", id);
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
    LogInfo("Parameter %s changed to '%s'.", FromQt(grid_->Label(id)).c_str(),
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
    } else if (doc->invalidateView) {
        doc->invalidateView();
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
    const bool absolute = id == id::System_INKSCAPEPATH;
    const std::string text = absolute ? doc_->MakePath(folder) : doc_->MakeRelativePath(folder);
    grid_->SetValue(id, ToQt(text));
    OnPropertyChanged(id, GridValue::Text(text));
}

} // namespace kib::gui
