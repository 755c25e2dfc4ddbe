// Configuration items: one typed value each, with its key, property id, default
// text and, when given one, a value text of its own.
#pragma once

#include "config/cfg_table.h"
#include "config/grid_value.h"
#include "foundation/diagnostics.h"

#include <string>

namespace kib {

class CCfgSect;

// Leading-integer conversion: white space, an optional sign and digits; anything
// after the digits is ignored. Empty or non-numeric text gives 0; a number beyond
// the int range is clamped to it.
int LeadingInt(const std::string& text);

class CCfgItem {
  public:
    CCfgItem(CCfgSect* section, const ItemDef& def, int id);
    virtual ~CCfgItem() = default;
    CCfgItem(const CCfgItem&) = delete;
    CCfgItem& operator=(const CCfgItem&) = delete;

    virtual bool SetInt(int value) = 0;
    virtual bool SetText(const std::string& text) = 0;
    virtual bool SetVariant(const GridValue& value) = 0;
    virtual GridValue GetDefaultVariant() const = 0;

    bool IsSet() const { return set_; }
    int GetId() const { return id_; }
    const std::string& GetKey() const { return key_; }
    ItemKind GetKind() const { return def_->kind; }
    const ItemDef& GetDef() const { return *def_; }
    CCfgSect& GetSection() const { return *section_; }
    // The item's own value text ("" when not set): for the file writer and the pane.
    const std::string& GetValueText() const { return value_; }
    const std::string& GetDefaultText() const { return default_; }
    // The effective value: the value text when set, else the default text.
    const std::string& GetValue() const { return set_ ? value_ : default_; }
    // Leading-integer conversion of the effective value (empty or non-numeric: 0).
    int GetInt() const;
    // First letter of the effective value: "N"/"n" is no, anything else yes.
    bool IsYes() const;
    // Whether a symbol list names the symbol major.minor.
    bool HasSymbol(int major, int minor) const;
    // A value of the file that the item refused, kept so that saving writes the
    // organiser's line back as it was; every accepted value clears it.
    const std::string& GetRejectedText() const { return rejected_; }
    void KeepRejected(const std::string& text) { rejected_ = text; }

  protected:
    void Store(const std::string& text); // non-empty: set; empty: unset
    // Reports the error "<section>.<key>: ..." into the configuration's
    // diagnostics, from a format whose first two directives are "%s.%s"; returns false.
    bool ReportError(const char* format, ...) const;
    // The same as a warning; the operation goes on.
    void ReportWarning(const char* format, ...) const;
    std::string SectionName() const; // "" for an item without a section
    // The diagnostics of the item's configuration (none: nothing is reported).
    Diagnostics& Reports() const;
    // The grid-value dispatch shared by every kind of item.
    bool SetVariantValue(const GridValue& value);

    CCfgSect* section_;
    const ItemDef* def_;
    int id_;
    std::string key_;
    std::string default_;
    std::string value_;
    std::string rejected_;
    bool set_ = false;
};

class CCfgIntItem : public CCfgItem {
  public:
    using CCfgItem::CCfgItem;
    bool SetInt(int value) override;
    bool SetText(const std::string& text) override;
    bool SetVariant(const GridValue& value) override;
    GridValue GetDefaultVariant() const override;
};

class CCfgStrItem : public CCfgItem {
  public:
    using CCfgItem::CCfgItem;
    bool SetInt(int value) override;
    bool SetText(const std::string& text) override;
    bool SetVariant(const GridValue& value) override;
    GridValue GetDefaultVariant() const override;

  private:
    // Checks a map symbol number list against the rule of the item's kind.
    bool CheckSymbolList(const std::string& text) const;
    // Target.MODE "W...": asks for the TempO simulator settings once the configuration is live.
    void OfferWebPreset();
};

class CCfgColorItem : public CCfgItem {
  public:
    using CCfgItem::CCfgItem;
    bool SetInt(int colour) override; // -1 resets to the default colour (and stays set)
    bool SetText(const std::string& text) override;
    bool SetVariant(const GridValue& value) override;
    GridValue GetDefaultVariant() const override;
    // Effective colour as red + 256 * green + 65536 * blue.
    int GetColor() const;

  private:
    int red_ = 0, green_ = 0, blue_ = 0;
};

} // namespace kib
