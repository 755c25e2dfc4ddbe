#include "config/cfg_item.h"

#include "config/cfg_ids.h"
#include "config/cfg_sect.h"
#include "config/kib_cfg.h"
#include "foundation/first_letter.h"
#include "foundation/format.h"
#include "foundation/log.h"

#include <cctype>
#include <climits>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <vector>

namespace kib {

namespace {

// Reads white space, an optional sign and digits. Nothing when no digit follows;
// the magnitude saturates far beyond the int range.
std::optional<long long> ReadInteger(const std::string& text) {
    std::size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    if (i >= text.size() || !std::isdigit(static_cast<unsigned char>(text[i]))) {
        return std::nullopt;
    }
    constexpr long long kLimit = 1LL << 40;
    long long value = 0;
    for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
        if (value < kLimit) {
            value = value * 10 + (text[i] - '0');
        }
    }
    return negative ? -value : value;
}

bool FitsInt(long long v) {
    return v >= INT_MIN && v <= INT_MAX;
}

// Whether the text holds a number of more than nine significant digits, which
// a scanf integer conversion could not hold.
bool HasHugeNumber(const std::string& text) {
    int digits = 0;
    for (char c : text) {
        if (!std::isdigit(static_cast<unsigned char>(c))) {
            digits = 0;
        } else if (digits > 0 || c != '0') {
            if (++digits > 9) {
                return true;
            }
        }
    }
    return false;
}

// The format with its first "%s.%s" replaced by the item's section name and key
// (percent signs in them doubled, so that they are shown as they are).
std::string QualifiedFormat(const char* format, const std::string& section,
                            const std::string& key) {
    auto escape = [](const std::string& s) {
        std::string out;
        for (char c : s) {
            out += c;
            if (c == '%') {
                out += '%';
            }
        }
        return out;
    };
    std::string f = format;
    std::size_t at = f.find("%s.%s");
    if (at != std::string::npos) {
        f.replace(at, 5, escape(section) + "." + escape(key));
    }
    return f;
}

std::string FormatQualified(const std::string& section, const std::string& key, const char* format,
                            va_list args) {
    const std::string f = QualifiedFormat(format, section, key);
    return FormatV(f.c_str(), args);
}

std::string Decimal(int v) {
    return std::to_string(v);
}

char Upper(char c) {
    return static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
}

char CharAt(const std::string& t, std::size_t i) {
    return i < t.size() ? t[i] : '\0';
}

// Parameters of a map symbol number list.
struct SymbolListRule {
    enum class Range { None, Map, Description };
    Range range;
    bool groups;
    bool several;
};

std::optional<SymbolListRule> SymbolRuleOf(ItemKind kind) {
    using R = SymbolListRule::Range;
    switch (kind) {
    case ItemKind::SymbolOne:
        return SymbolListRule{R::Map, false, false};
    case ItemKind::SymbolFlags:
        return SymbolListRule{R::Map, true, true};
    case ItemKind::SymbolLetters:
        return SymbolListRule{R::Map, true, false};
    case ItemKind::SymbolAnswers:
        return SymbolListRule{R::None, true, false};
    case ItemKind::SymbolZeroTol:
        return SymbolListRule{R::Description, true, true};
    default:
        return std::nullopt;
    }
}

std::vector<std::string> SplitAtSpaces(const std::string& t) {
    std::vector<std::string> tokens;
    std::string token;
    for (char c : t) {
        if (c == ' ') {
            if (!token.empty()) {
                tokens.push_back(token);
            }
            token.clear();
        } else {
            token += c;
        }
    }
    if (!token.empty()) {
        tokens.push_back(token);
    }
    return tokens;
}

// "A4L..." and friends for Target.CANVAS; nothing when the text is rejected.
std::optional<std::string> CanvasForm(const std::string& t) {
    if (FirstLetter(t, LetterCase::Either) != 'A') {
        return t;
    }
    const char size = CharAt(t, 1);
    const char form = Upper(CharAt(t, 2));
    if (size == '4') {
        if (form == 'L') {
            return "A4Landscape";
        }
        if (form == 'P' || form == '\0') {
            return "A4Portrait";
        }
    } else if (size == '5') {
        if (form == 'F') {
            return "A5Full";
        }
        if (form == 'C' || form == '\0') {
            return "A5Cut";
        }
    }
    return std::nullopt;
}

// Paper forms of Target.SHEET; nothing when the text is rejected.
std::optional<std::string> SheetForm(const std::string& t) {
    if (FirstLetter(t, LetterCase::Either) != 'A') {
        return std::nullopt;
    }
    const char size = CharAt(t, 1);
    const char form = Upper(CharAt(t, 2));
    if (size == '4') {
        if (form == 'L') {
            return "A4Landscape";
        }
        if (form == 'P') {
            return "A4Portrait";
        }
        if (form == 'T' || form == 'M') {
            return "A4Tiled";
        }
        return std::nullopt;
    }
    if (size == '5') {
        return "A5";
    }
    if (size == '3') {
        return "A3Tiled";
    }
    return std::nullopt;
}

// The map scale as 4000, 1:4000 or 1:4 000; nothing without a number.
std::optional<long long> ReadScale(const std::string& t) {
    int a = 0, b = 0, c = 0;
    const int n = std::sscanf(t.c_str(), "%d:%d %d", &a, &b, &c);
    if (n < 1) {
        return std::nullopt;
    }
    if (n == 1) {
        return a;
    }
    if (n == 2) {
        return b;
    }
    return static_cast<long long>(b) * 1000 + c;
}

constexpr int kSymbolLimit = 20; // map symbols lie above 20.0, description symbols below

} // namespace

int LeadingInt(const std::string& text) {
    const std::optional<long long> v = ReadInteger(text);
    if (!v) {
        return 0;
    }
    if (*v > INT_MAX) {
        return INT_MAX;
    }
    if (*v < INT_MIN) {
        return INT_MIN;
    }
    return static_cast<int>(*v);
}

// ---------------------------------------------------------------- CCfgItem

CCfgItem::CCfgItem(CCfgSect* section, const ItemDef& def, int id)
    : section_(section), def_(&def), id_(id), key_(def.key), default_(def.defaultText) {}

int CCfgItem::GetInt() const {
    return LeadingInt(GetValue());
}

bool CCfgItem::IsYes() const {
    return kib::IsYes(GetValue());
}

bool CCfgItem::HasSymbol(int major, int minor) const {
    const std::string list = " " + GetValue() + " ";
    if (list.find(Format(" %d ", major)) != std::string::npos) {
        return true;
    }
    if (list.find(Format(" %d.%d ", major, minor)) != std::string::npos) {
        return true;
    }
    return minor <= 99 && list.find(Format(" %d.%03d ", major, minor)) != std::string::npos;
}

void CCfgItem::Store(const std::string& text) {
    rejected_.clear();
    value_ = text;
    set_ = !text.empty();
}

std::string CCfgItem::SectionName() const {
    return section_ ? section_->GetName() : std::string();
}

bool CCfgItem::ReportError(const char* format, ...) const {
    va_list args;
    va_start(args, format);
    const std::string line = FormatQualified(SectionName(), key_, format, args);
    va_end(args);
    Reports().Say(DiagnosticKind::Error, line);
    return false;
}

void CCfgItem::ReportWarning(const char* format, ...) const {
    va_list args;
    va_start(args, format);
    const std::string line = FormatQualified(SectionName(), key_, format, args);
    va_end(args);
    Reports().Say(DiagnosticKind::Warning, line);
}

Diagnostics& CCfgItem::Reports() const {
    static SilentDiagnostics none; // holds no state
    const CKibCfg* cfg = section_ ? section_->GetConfig() : nullptr;
    return cfg ? cfg->Reports() : none;
}

bool CCfgItem::SetVariantValue(const GridValue& value) {
    switch (value.type) {
    case GridValue::Type::Int:
        return SetInt(value.i);
    case GridValue::Type::Text:
        return SetText(value.text);
    default:
        Reports().Error("Internal error: unknown property value type %d!",
                        static_cast<int>(value.type));
        return false;
    }
}

// ---------------------------------------------------------------- CCfgIntItem

bool CCfgIntItem::SetInt(int value) {
    switch (GetKind()) {
    case ItemKind::StationNumber:
        if (value < 0 || value > kMaxStation) {
            return ReportError(id_ == id::Event_MINSTAT
                                   ? "%s.%s: Invalid lowest number of station %d "
                                     "(out of 0 .. %d)"
                                   : "%s.%s: Invalid highest number of station %d "
                                     "(out of 0 .. %d)",
                               value, kMaxStation);
        }
        break;
    case ItemKind::TaskCount:
        if (value < 0 || value > kMaxTasks) {
            return ReportError("%s.%s: Invalid number of tasks %d (out of 1 .. %d)", value,
                               kMaxTasks);
        }
        if (value == 0) {
            ReportWarning("%s.%s: Number of tasks is set to zero");
        }
        break;
    case ItemKind::FlagCount:
        if (value < 1 || value > kMaxFlags) {
            return ReportError("%s.%s: Invalid number of flags %d (out of 1 .. 6)", value);
        }
        break;
    default:
        break;
    }
    Store(Decimal(value));
    return true;
}

bool CCfgIntItem::SetText(const std::string& text) {
    if (text.empty()) {
        Store(text);
        return true;
    }
    const bool scale = GetKind() == ItemKind::Scale;
    const std::optional<long long> v = scale ? ReadScale(text) : ReadInteger(text);
    if (!v) {
        return false;
    }
    if (!FitsInt(*v) || (scale && HasHugeNumber(text))) {
        return ReportError("%s.%s: Invalid parameter value '%s' (number out of range)",
                           text.c_str());
    }
    return SetInt(static_cast<int>(*v));
}

bool CCfgIntItem::SetVariant(const GridValue& value) {
    return SetVariantValue(value);
}

GridValue CCfgIntItem::GetDefaultVariant() const {
    return GridValue::Text(default_);
}

// ---------------------------------------------------------------- CCfgStrItem

bool CCfgStrItem::SetInt(int value) {
    return SetText(Decimal(value));
}

bool CCfgStrItem::SetText(const std::string& text) {
    if (text.empty()) {
        Store(text);
        return true;
    }
    if (SymbolRuleOf(GetKind())) {
        if (!CheckSymbolList(text)) {
            return false;
        }
        Store(text);
        return true;
    }
    switch (GetKind()) {
    case ItemKind::YesNo: {
        const char first = FirstLetter(text, LetterCase::Either);
        if (first != 'Y' && first != 'N') {
            return false;
        }
        Store(first == 'Y' ? "Yes" : "No");
        return true;
    }
    case ItemKind::Real: {
        float number = 0;
        if (std::sscanf(text.c_str(), "%f", &number) != 1) {
            return ReportError("%s.%s: Invalid parameter value '%s' (real number expected)",
                               text.c_str());
        }
        break;
    }
    case ItemKind::TargetMode:
        if (FirstLetter(text, LetterCase::Exact) == 'W') {
            OfferWebPreset();
        }
        break;
    case ItemKind::CanvasForm:
    case ItemKind::SheetForm: {
        const std::optional<std::string> form =
            GetKind() == ItemKind::CanvasForm ? CanvasForm(text) : SheetForm(text);
        if (!form) {
            return false;
        }
        Store(*form);
        return true;
    }
    default:
        break;
    }
    Store(text);
    return true;
}

bool CCfgStrItem::CheckSymbolList(const std::string& text) const {
    using Range = SymbolListRule::Range;
    const SymbolListRule rule = *SymbolRuleOf(GetKind());
    const std::size_t bad = text.find_first_not_of("0123456789. ");
    if (bad != std::string::npos) {
        return ReportError("%s.%s: Invalid char in map symbol number list '%c' "
                           "(only digits, dots and spaces expected)",
                           text[bad]);
    }
    int symbols = 0;
    for (const std::string& token : SplitAtSpaces(text)) {
        int major = 0, minor = 0;
        char separator = 0, extra = 0;
        const int n = std::sscanf(token.c_str(), " %d%c%d %c", &major, &separator, &minor, &extra);
        if (n < 1) {
            continue; // a token without a major number (".", ".5") is skipped
        }
        if (symbols > 0 && !rule.several) {
            return ReportError("%s.%s: Only one map symbol allowed, no set of symbols (%s)",
                               text.c_str());
        }
        ++symbols;
        const bool group = n == 1;
        if (!group && !(n == 3 && separator == '.')) {
            return ReportError(rule.groups ? "%s.%s: Invalid map symbol number '%s' "
                                             "(format hi or hi.lo expected)"
                                           : "%s.%s: Invalid map symbol number '%s' "
                                             "(format hi.lo expected)",
                               token.c_str());
        }
        if (group && !rule.groups) {
            return ReportError("%s.%s: Only one map symbol allowed, no group (%s)", token.c_str());
        }
        if (rule.range == Range::Map && major >= 1 && major < kSymbolLimit) {
            return ReportError("%s.%s: Map symbol must be above %d.0 (%s found)", kSymbolLimit,
                               token.c_str());
        }
        if (rule.range == Range::Description && major > kSymbolLimit) {
            return ReportError("%s.%s: Map symbol must be below %d.0 (%s found)", kSymbolLimit,
                               token.c_str());
        }
    }
    return true;
}

// Target.MODE WEB: once the configuration is live, the user may take the settings
// that suit the TempO simulator.
void CCfgStrItem::OfferWebPreset() {
    CKibCfg* cfg = section_ ? section_->GetConfig() : nullptr;
    if (!cfg || !cfg->IsLive()) {
        return;
    }
    if (AskYesNo(cfg->GetHost(), "Do you want to set default parameters for the TempO simulator?",
                 BoxIcon::Warning, BoxAnswer::No) != BoxAnswer::Yes) {
        return;
    }
    static constexpr struct {
        int id;
        int value;
    } kPreset[] = {
        {id::Target_DPI, 120},        {id::MapSegment_SIZE, 80},     {id::MapSegment_BOTTOM, 25},
        {id::MapSegment_TOP, 15},     {id::Descriptions_SIZE, 7},    {id::Solutions_SCALE, 2000},
        {id::Solutions_MAPWIDTH, 80}, {id::Solutions_MAPHEIGHT, 45},
    };
    for (const auto& p : kPreset) {
        cfg->Item(p.id).SetInt(p.value);
    }
    cfg->PushToProperties();
}

bool CCfgStrItem::SetVariant(const GridValue& value) {
    return SetVariantValue(value);
}

GridValue CCfgStrItem::GetDefaultVariant() const {
    return GridValue::Text(default_);
}

// ---------------------------------------------------------------- CCfgColorItem

namespace {

int PackColor(int red, int green, int blue) {
    const std::uint32_t packed = static_cast<std::uint32_t>(red) +
                                 256u * static_cast<std::uint32_t>(green) +
                                 65536u * static_cast<std::uint32_t>(blue);
    return static_cast<int>(packed);
}

} // namespace

bool CCfgColorItem::SetInt(int colour) {
    if (colour == -1) {
        red_ = green_ = blue_ = 0;
        std::sscanf(default_.c_str(), "%d %d %d", &red_, &green_, &blue_);
        value_ = default_;
    } else {
        const auto c = static_cast<std::uint32_t>(colour);
        red_ = static_cast<int>(c & 0xFF);
        green_ = static_cast<int>((c >> 8) & 0xFF);
        blue_ = static_cast<int>((c >> 16) & 0xFF);
        value_ = Format("%d %d %d", red_, green_, blue_);
    }
    rejected_.clear();
    set_ = true;
    return true;
}

bool CCfgColorItem::SetText(const std::string& text) {
    if (text.empty()) {
        Store(text);
        return true;
    }
    int red = 0, green = 0, blue = 0;
    if (std::sscanf(text.c_str(), "%d %d %d", &red, &green, &blue) != 3) {
        // The colour stays the one the value text names, as everything else does.
        return ReportError("%s.%s: Incorrect color: %s (expected RRR GGG BBB)!", text.c_str());
    }
    red_ = red;
    green_ = green;
    blue_ = blue;
    Store(text);
    return true;
}

bool CCfgColorItem::SetVariant(const GridValue& value) {
    return SetVariantValue(value);
}

GridValue CCfgColorItem::GetDefaultVariant() const {
    int red = 0, green = 0, blue = 0;
    std::sscanf(default_.c_str(), "%d %d %d", &red, &green, &blue);
    return GridValue::UInt(static_cast<std::uint32_t>(PackColor(red, green, blue)));
}

int CCfgColorItem::GetColor() const {
    if (set_) {
        return PackColor(red_, green_, blue_);
    }
    int red = 0, green = 0, blue = 0;
    std::sscanf(default_.c_str(), "%d %d %d", &red, &green, &blue);
    return PackColor(red, green, blue);
}

} // namespace kib
