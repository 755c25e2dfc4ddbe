#include "gui/property_grid.h"

#include "gui/qt_text.h"

#include <QColorDialog>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace kib::gui {

namespace {

constexpr int kIdRole = Qt::UserRole;
constexpr int kOrderRole = Qt::UserRole + 1;

// Groups and properties sort by label in alphabetical mode, else by the order
// in which they were added.
class GridItem : public QTreeWidgetItem {
  public:
    using QTreeWidgetItem::QTreeWidgetItem;
    bool operator<(const QTreeWidgetItem& other) const override {
        const auto* grid = treeWidget() ? treeWidget()->parentWidget() : nullptr;
        const bool alphabetic = grid && grid->property("alphabetic").toBool();
        if (alphabetic) {
            return text(0).compare(other.text(0), Qt::CaseInsensitive) < 0;
        }
        return data(0, kOrderRole).toInt() < other.data(0, kOrderRole).toInt();
    }
};

QString ColourText(int c) {
    return QStringLiteral("%1 %2 %3").arg(c & 0xFF).arg((c >> 8) & 0xFF).arg((c >> 16) & 0xFF);
}

QIcon Swatch(int c) {
    QPixmap pm(16, 12);
    pm.fill(ToQColor(c));
    QPainter p(&pm);
    p.setPen(Qt::black);
    p.drawRect(0, 0, 15, 11);
    return QIcon(pm);
}

// The colours offered directly in a colour property's menu.
const int kPalette[] = {0x000000, 0xFFFFFF, 0x0000FF, 0x00FF00, 0xFF0000, 0x00FFFF,
                        0xFF00FF, 0xFFFF00, 0x808080, 0xC0C0C0, 0x000080, 0x008000,
                        0x800000, 0x008080, 0x800080, 0xFF26A6};

} // namespace

CPropertyGrid::CPropertyGrid(QWidget* parent)
    : QWidget(parent), tree_(new QTreeWidget(this)), description_(new QLabel(this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    tree_->setColumnCount(2);
    tree_->setHeaderLabels({tr("Property"), tr("Value")});
    tree_->setHeaderHidden(true);
    tree_->setRootIsDecorated(true);
    tree_->setAlternatingRowColors(false);
    tree_->setSelectionMode(QAbstractItemView::SingleSelection);
    tree_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tree_->header()->setSectionResizeMode(0, QHeaderView::Interactive);
    tree_->header()->setStretchLastSection(true);
    tree_->setColumnWidth(0, 150);
    layout->addWidget(tree_, 1);

    description_->setWordWrap(true);
    description_->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    description_->setFrameShape(QFrame::StyledPanel);
    description_->setTextFormat(Qt::PlainText);
    description_->setMinimumHeight(fontMetrics().lineSpacing() * 6 + 6);
    description_->setMaximumHeight(fontMetrics().lineSpacing() * 6 + 6);
    layout->addWidget(description_);

    connect(tree_, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* current) { ShowDescription(current); });
}

QTreeWidgetItem* CPropertyGrid::AddGroup(const QString& name) {
    auto* group = new GridItem(tree_, QStringList{name});
    group->setData(0, kOrderRole, order_++);
    group->setData(0, kIdRole, 0);
    group->setFirstColumnSpanned(true);
    QFont f = group->font(0);
    f.setBold(true);
    group->setFont(0, f);
    group->setExpanded(true);
    if (alphabetic_) {
        tree_->sortItems(0, Qt::AscendingOrder);
    }
    return group;
}

void CPropertyGrid::AddProperty(QTreeWidgetItem* group, const PropSpec& spec) {
    Prop& prop = props_[spec.id];
    prop.spec = spec;
    prop.value = spec.original;
    prop.item = new GridItem(group, QStringList{spec.label});
    prop.item->setData(0, kIdRole, spec.id);
    prop.item->setData(0, kOrderRole, order_++);
    prop.item->setToolTip(0, spec.help);
    prop.editor = MakeEditor(prop);
    tree_->setItemWidget(prop.item, 1, prop.editor);
    ShowInEditor(prop);
}

QWidget* CPropertyGrid::MakeEditor(Prop& prop) {
    const int id = prop.spec.id;
    switch (prop.spec.kind) {
    case PropKind::Choice:
    case PropKind::Font: {
        auto* combo = new QComboBox;
        combo->setFrame(false);
        if (prop.spec.kind == PropKind::Choice) {
            combo->addItems(prop.spec.choices);
            connect(combo, &QComboBox::activated, this, [this, id, combo](int index) {
                if (index >= 0) {
                    Commit(id, GridValue::Text(FromQt(combo->itemText(index))));
                }
            });
        } else {
            combo->setEditable(true);
            combo->setInsertPolicy(QComboBox::NoInsert);
            combo->addItems(fontFamilies_);
            connect(combo->lineEdit(), &QLineEdit::editingFinished, this, [this, id, combo] {
                Commit(id, GridValue::Text(FromQt(combo->currentText())));
            });
            connect(combo, &QComboBox::activated, this, [this, id, combo](int) {
                Commit(id, GridValue::Text(FromQt(combo->currentText())));
            });
        }
        return combo;
    }
    case PropKind::Colour: {
        auto* button = new QToolButton;
        button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        button->setPopupMode(QToolButton::InstantPopup);
        button->setAutoRaise(true);
        auto* menu = new QMenu(button);
        for (int c : kPalette) {
            menu->addAction(Swatch(c), ColourText(c),
                            [this, id, c] { Commit(id, GridValue::Int(c)); });
        }
        menu->addSeparator();
        menu->addAction(tr("Other..."), this, [this, id, button] {
            const Prop* p = Find(id);
            const QColor start = ToQColor(p ? p->value.toInt() : 0);
            const QColor chosen = QColorDialog::getColor(start, button);
            if (chosen.isValid()) {
                Commit(id, GridValue::Int(FromQColor(chosen)));
            }
        });
        menu->addAction(tr("Default"), this, [this, id] { Commit(id, GridValue::Int(-1)); });
        button->setMenu(menu);
        return button;
    }
    case PropKind::Directory:
    case PropKind::File: {
        auto* box = new QWidget;
        auto* row = new QHBoxLayout(box);
        row->setContentsMargins(0, 0, 0, 0);
        row->setSpacing(0);
        auto* edit = new QLineEdit(box);
        edit->setFrame(false);
        auto* browse = new QToolButton(box);
        browse->setText(QStringLiteral("..."));
        browse->setObjectName(QStringLiteral("browse"));
        row->addWidget(edit, 1);
        row->addWidget(browse);
        connect(edit, &QLineEdit::editingFinished, this,
                [this, id, edit] { Commit(id, GridValue::Text(FromQt(edit->text()))); });
        connect(browse, &QToolButton::clicked, this, [this, id] { emit browseRequested(id); });
        box->setFocusProxy(edit);
        return box;
    }
    case PropKind::Text:
        break;
    }
    auto* edit = new QLineEdit;
    edit->setFrame(false);
    connect(edit, &QLineEdit::editingFinished, this,
            [this, id, edit] { Commit(id, GridValue::Text(FromQt(edit->text()))); });
    return edit;
}

// A commit that changes nothing is no edit; a commit during another one (the
// focus leaves the editor when a message box opens) is ignored.
void CPropertyGrid::Commit(int id, const GridValue& value) {
    Prop* prop = Find(id);
    if (prop == nullptr || committing_) {
        return;
    }
    const bool colour = prop->spec.kind == PropKind::Colour;
    if (!colour && ToQt(value.text) == prop->value.toString()) {
        return;
    }
    committing_ = true;
    emit valueCommitted(id, value);
    committing_ = false;
    if (Prop* p = Find(id)) {
        ShowInEditor(*p); // the owner has set the value it wants shown
    }
}

void CPropertyGrid::ShowInEditor(Prop& prop) {
    QWidget* editor = prop.editor;
    const QSignalBlocker block(editor);
    switch (prop.spec.kind) {
    case PropKind::Choice: {
        auto* combo = static_cast<QComboBox*>(editor);
        const int index = combo->findText(prop.value.toString(), Qt::MatchFixedString);
        combo->setCurrentIndex(index);
        combo->setPlaceholderText(index < 0 ? prop.value.toString() : QString());
        break;
    }
    case PropKind::Font: {
        auto* combo = static_cast<QComboBox*>(editor);
        const QSignalBlocker blockEdit(combo->lineEdit());
        combo->setEditText(prop.value.toString());
        break;
    }
    case PropKind::Colour: {
        auto* button = static_cast<QToolButton*>(editor);
        const int c = prop.value.toInt();
        button->setIcon(Swatch(c));
        button->setText(ColourText(c));
        break;
    }
    case PropKind::Directory:
    case PropKind::File: {
        auto* edit = editor->findChild<QLineEdit*>();
        const QSignalBlocker blockEdit(edit);
        edit->setText(prop.value.toString());
        break;
    }
    case PropKind::Text: {
        auto* edit = static_cast<QLineEdit*>(editor);
        edit->setText(prop.value.toString());
        edit->setCursorPosition(0);
        break;
    }
    }
    UpdateBold(prop);
}

void CPropertyGrid::UpdateBold(Prop& prop) {
    const bool bold = prop.value != prop.spec.original;
    QFont f = prop.item->font(0);
    f.setBold(bold);
    prop.item->setFont(0, f);
    QFont ef = prop.editor->font();
    ef.setBold(bold);
    prop.editor->setFont(ef);
    for (auto* child : prop.editor->findChildren<QWidget*>()) {
        child->setFont(ef);
    }
}

void CPropertyGrid::SetValue(int id, const QVariant& value) {
    if (Prop* prop = Find(id)) {
        prop->value = value;
        ShowInEditor(*prop);
    }
}

QVariant CPropertyGrid::Value(int id) const {
    const Prop* prop = Find(id);
    return prop ? prop->value : QVariant();
}

QVariant CPropertyGrid::Original(int id) const {
    const Prop* prop = Find(id);
    return prop ? prop->spec.original : QVariant();
}

void CPropertyGrid::ResetToOriginals() {
    for (auto& [id, prop] : props_) {
        if (prop.value != prop.spec.original) {
            prop.value = prop.spec.original;
            ShowInEditor(prop);
        }
    }
}

bool CPropertyGrid::IsModified(int id) const {
    const Prop* prop = Find(id);
    return prop && prop->value != prop->spec.original;
}

QString CPropertyGrid::Label(int id) const {
    const Prop* prop = Find(id);
    return prop ? prop->spec.label : QString();
}

void CPropertyGrid::SetPropertyVisible(int id, bool visible) {
    if (Prop* prop = Find(id)) {
        prop->item->setHidden(!visible);
    }
}

bool CPropertyGrid::IsPropertyVisible(int id) const {
    const Prop* prop = Find(id);
    if (prop == nullptr || prop->item->isHidden()) {
        return false;
    }
    return prop->item->parent() == nullptr || !prop->item->parent()->isHidden();
}

void CPropertyGrid::SetGroupVisible(QTreeWidgetItem* group, bool visible) {
    if (group != nullptr) {
        group->setHidden(!visible);
    }
}

QTreeWidgetItem* CPropertyGrid::Group(const QString& name) const {
    for (int i = 0; i < tree_->topLevelItemCount(); ++i) {
        if (tree_->topLevelItem(i)->text(0) == name) {
            return tree_->topLevelItem(i);
        }
    }
    return nullptr;
}

void CPropertyGrid::SetAlphabetic(bool on) {
    alphabetic_ = on;
    setProperty("alphabetic", on);
    tree_->sortItems(0, Qt::AscendingOrder);
}

void CPropertyGrid::ToggleExpandAll() {
    bool anyCollapsed = false;
    for (int i = 0; i < tree_->topLevelItemCount(); ++i) {
        anyCollapsed = anyCollapsed || !tree_->topLevelItem(i)->isExpanded();
    }
    for (int i = 0; i < tree_->topLevelItemCount(); ++i) {
        tree_->topLevelItem(i)->setExpanded(anyCollapsed);
    }
}

QWidget* CPropertyGrid::Editor(int id) const {
    const Prop* prop = Find(id);
    return prop ? prop->editor : nullptr;
}

QString CPropertyGrid::Description() const {
    return description_->text();
}

void CPropertyGrid::ShowDescription(QTreeWidgetItem* item) {
    const Prop* prop = item ? Find(item->data(0, kIdRole).toInt()) : nullptr;
    if (prop == nullptr) {
        description_->setText(item ? item->text(0) : QString());
        return;
    }
    description_->setText(prop->spec.label + QStringLiteral("\n") + prop->spec.help);
}

CPropertyGrid::Prop* CPropertyGrid::Find(int id) {
    auto it = props_.find(id);
    return it == props_.end() ? nullptr : &it->second;
}

const CPropertyGrid::Prop* CPropertyGrid::Find(int id) const {
    auto it = props_.find(id);
    return it == props_.end() ? nullptr : &it->second;
}

} // namespace kib::gui
