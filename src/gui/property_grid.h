// A property grid: groups of labelled values, each with an editor of its kind
// (free text, drop-down choice, font name, colour, directory, file), a
// description area for the current property's help text, and modified values
// (those that differ from their original value) shown in bold.
#pragma once

#include "config/grid_value.h"
#include "config/pane_layout.h"

#include <QStringList>
#include <QVariant>
#include <QWidget>

#include <map>
#include <vector>

class QLabel;
class QTreeWidget;
class QTreeWidgetItem;

namespace kib::gui {

// The editor of a property: the kinds of entry the configuration gives its items.
using PropKind = PaneEntry;

struct PropSpec {
    int id = 0;
    PropKind kind = PropKind::Text;
    QString label;
    QString help;
    QStringList choices;
    QVariant original; // QString, or int for a colour (red + 256 green + 65536 blue)
};

class CPropertyGrid : public QWidget {
    Q_OBJECT
  public:
    explicit CPropertyGrid(QWidget* parent = nullptr);

    // Builds a group at the end of the grid; its properties follow with AddProperty.
    QTreeWidgetItem* AddGroup(const QString& name);
    void AddProperty(QTreeWidgetItem* group, const PropSpec& spec);
    // The font families offered by every font property.
    void SetFontFamilies(const QStringList& families) { fontFamilies_ = families; }

    bool HasProperty(int id) const { return props_.count(id) != 0; }
    // Shows a value without reporting an edit: text, or an int colour.
    void SetValue(int id, const QVariant& value);
    QVariant Value(int id) const;
    QVariant Original(int id) const;
    void ResetToOriginals();
    bool IsModified(int id) const;
    QString Label(int id) const;

    void SetPropertyVisible(int id, bool visible);
    bool IsPropertyVisible(int id) const;
    void SetGroupVisible(QTreeWidgetItem* group, bool visible);
    QTreeWidgetItem* Group(const QString& name) const;

    void SetAlphabetic(bool on);
    bool IsAlphabetic() const { return alphabetic_; }
    // Expands every group when any is collapsed, else collapses them all.
    void ToggleExpandAll();

    QTreeWidget* Tree() const { return tree_; }
    QWidget* Editor(int id) const;
    QString Description() const;

  signals:
    // The user committed a value: text, or an int colour (-1 for the default colour).
    void valueCommitted(int id, const kib::GridValue& value);
    // The browse button of a directory or file property was pressed.
    void browseRequested(int id);

  private:
    struct Prop {
        PropSpec spec;
        QVariant value;
        QTreeWidgetItem* item = nullptr;
        QWidget* editor = nullptr;
    };

    QWidget* MakeEditor(Prop& prop);
    void ShowInEditor(Prop& prop);
    void UpdateBold(Prop& prop);
    void Commit(int id, const kib::GridValue& value);
    void ShowDescription(QTreeWidgetItem* item);
    Prop* Find(int id);
    const Prop* Find(int id) const;

    QTreeWidget* tree_;
    QLabel* description_;
    QStringList fontFamilies_;
    std::map<int, Prop> props_;
    bool alphabetic_ = false;
    bool committing_ = false;
    int order_ = 0;
};

} // namespace kib::gui
