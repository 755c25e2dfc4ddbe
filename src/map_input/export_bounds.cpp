#include "map_input/export_bounds.h"

#include "foundation/format.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <map>

namespace kib {

namespace {

// How deep entities may refer to entities that refer to entities: a parser
// gives up long before (libxml2 at 40), and a longer chain is no style.
constexpr int kMaxEntityNesting = 16;
// The longest reference ("&name;" or "&#x10FFFF;") taken as one.
constexpr std::size_t kMaxReference = 64;
// A short expansion is kept whole; a longer one by its first and last characters.
constexpr std::uint64_t kWholeChars = 16;
constexpr std::size_t kEdgeChars = 8;

// "xinclude", eight lower-case letters packed the way the watch packs them.
constexpr std::uint64_t Packed(const char (&word)[9]) {
    std::uint64_t packed = 0;
    for (int i = 0; i < 8; ++i) {
        packed = (packed << 8) | static_cast<unsigned char>(word[i]);
    }
    return packed;
}
constexpr std::uint64_t kXInclude = Packed("xinclude");

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool IsNameStart(char c) {
    const auto u = static_cast<unsigned char>(c);
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c == ':' || u >= 0x80;
}

bool IsNameChar(char c) {
    return IsNameStart(c) || (c >= '0' && c <= '9') || c == '-' || c == '.';
}

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// The decoded characters of a text, watched for the word "xinclude" in any
// case (the name of XInclude's namespace, however it is spelled in the file),
// with their size in bytes and the first and last characters, so that an
// entity's expansion is watched once and a reference to it only joins its edges.
class WordWatch {
  public:
    void Put(char c, std::uint64_t bytes = 1) {
        PutChar(c);
        size_ += bytes;
    }

    void PutExpansion(const WordWatch& expansion) {
        found_ = found_ || expansion.found_;
        if (expansion.chars_ <= kWholeChars) {
            for (const char c : expansion.whole_) {
                PutChar(c);
            }
        } else {
            for (const char c : expansion.head_) {
                PutChar(c);
            }
            // The word within the expansion was found when it was watched.
            last_ = expansion.last_;
            chars_ += expansion.chars_ - expansion.head_.size();
            whole_.clear();
        }
        size_ += expansion.size_;
    }

    bool Found() const { return found_; }
    std::uint64_t Size() const { return size_; }

  private:
    void PutChar(char c) {
        const char lower = Lower(c);
        last_ = (last_ << 8) | static_cast<unsigned char>(lower);
        ++chars_;
        if (chars_ >= 8 && last_ == kXInclude) {
            found_ = true;
        }
        if (head_.size() < kEdgeChars) {
            head_.push_back(lower);
        }
        if (chars_ <= kWholeChars) {
            whole_.push_back(lower);
        }
    }

    std::uint64_t last_ = 0; // the last eight characters
    std::uint64_t chars_ = 0;
    std::uint64_t size_ = 0;
    std::string head_;
    std::string whole_; // all characters while there are few
    bool found_ = false;
};

// UTF-8 of a code point; empty when it is none.
std::string Utf8(std::uint32_t cp) {
    std::string out;
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp <= 0x10FFFF) {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
    return out;
}

// The code point of a character reference without its "&" and ";" ("#58",
// "#x3A"); false when it is none.
bool DecodeCharacter(const std::string& ref, std::uint32_t& cp) {
    const bool hex = ref.size() > 1 && (ref[1] == 'x' || ref[1] == 'X');
    const std::size_t from = hex ? 2 : 1;
    if (ref.size() <= from) {
        return false;
    }
    std::uint32_t value = 0;
    for (std::size_t i = from; i < ref.size(); ++i) {
        const char c = ref[i];
        int digit = -1;
        if (c >= '0' && c <= '9') {
            digit = c - '0';
        } else if (hex && c >= 'a' && c <= 'f') {
            digit = c - 'a' + 10;
        } else if (hex && c >= 'A' && c <= 'F') {
            digit = c - 'A' + 10;
        }
        if (digit < 0) {
            return false;
        }
        value = value * (hex ? 16u : 10u) + static_cast<std::uint32_t>(digit);
        if (value > 0x10FFFF) {
            return false;
        }
    }
    cp = value;
    return true;
}

char Predefined(const std::string& name) {
    if (name == "lt") {
        return '<';
    }
    if (name == "gt") {
        return '>';
    }
    if (name == "amp") {
        return '&';
    }
    if (name == "apos") {
        return '\'';
    }
    if (name == "quot") {
        return '"';
    }
    return 0;
}

} // namespace

// A general entity of the export's internal subset.
struct EntityInfo {
    enum class State { Declared, Expanding, Known };
    std::string replacement; // its literal with character references decoded
    bool external = false;   // SYSTEM or PUBLIC: never read (the drawing empties it)
    int line = 0;            // where it is declared
    State state = State::Declared;
    WordWatch text; // its expansion
    int depth = 0;  // the deepest element nesting inside its expansion
};

// What the scans of one export share: the bounds, the entities and the verdict.
struct ScanShared {
    ExportLimits limits;
    std::map<std::string, EntityInfo, std::less<>> entities;
    std::string problem;
    int problemLine = 0;
    int line = 0;
    std::uint64_t consumed = 0; // bytes of the export taken so far
    int nesting = 0;            // entities being expanded inside each other

    void Fail(const std::string& text, int at) {
        if (problem.empty()) {
            problem = text;
            problemLine = at;
        }
    }
};

namespace {

const EntityInfo* Expanded(ScanShared& shared, const std::string& name);

// XML markup read one character at a time: the export itself (across its lines)
// or, inEntity, the replacement text of an entity as a parser reads it where
// the entity is referred to.
class MarkupScan {
  public:
    MarkupScan(ScanShared& shared, bool inEntity) : shared_(shared), inEntity_(inEntity) {}

    void Put(char c) {
        if (!shared_.problem.empty()) {
            return;
        }
        if (inRef_) {
            if (TakeReferenceChar(c)) {
                return;
            }
        }
        if (percent_) {
            percent_ = false;
            if (IsNameStart(c)) {
                Refuse("refers to a parameter entity, which no map export uses");
                return;
            }
            Literal('%');
        }
        Step(c);
        if (!inEntity_ && text_.Found()) {
            Refuse("names XInclude, which makes a drawing read other files");
        }
    }

    const WordWatch& Text() const { return text_; }
    int MaxDepth() const { return maxDepth_; }

  private:
    enum class Mode {
        Text,
        Open,        // after "<"
        Bang,        // after "<!"
        Comment,     // "<!-- ... -->"
        Pi,          // "<? ... ?>"
        Cdata,       // "<![CDATA[ ... ]]>"
        StartTag,    // "<name ...>" or "<name .../>"
        EndTag,      // "</name>"
        Doctype,     // "<!DOCTYPE name ... "
        Subset,      // its internal subset "[ ... ]"
        SubsetOpen,  // after "<" in the subset
        Declaration, // "<!ATTLIST ...>" and other declarations, skipped to their end
        EntityDecl,  // "<!ENTITY ...>"
        AfterSubset  // "]" up to the doctype's ">"
    };
    enum class RefIn { Text, Value, Literal };
    enum class EntityStep { Blank, Name, AfterName, Literal, External, Rest };

    void Refuse(const std::string& text) { shared_.Fail(text, shared_.line); }

    void Step(char c) {
        switch (mode_) {
        case Mode::Text:
            InText(c);
            break;
        case Mode::Open:
            AfterOpen(c);
            break;
        case Mode::Bang:
        case Mode::SubsetOpen:
            Keyword(c);
            break;
        case Mode::Comment:
            Until(c, "-->", back_, false);
            break;
        case Mode::Pi:
            Until(c, "?>", back_, false);
            break;
        case Mode::Cdata:
            Until(c, "]]>", Mode::Text, true);
            break;
        case Mode::StartTag:
            InStartTag(c);
            break;
        case Mode::EndTag:
            InEndTag(c);
            break;
        case Mode::Doctype:
            InDoctype(c);
            break;
        case Mode::Subset:
            InSubset(c);
            break;
        case Mode::Declaration:
            InDeclaration(c);
            break;
        case Mode::EntityDecl:
            InEntityDecl(c);
            break;
        case Mode::AfterSubset:
            if (c == '>') {
                EndDoctype();
            }
            break;
        }
    }

    void InText(char c) {
        if (c == '<') {
            mode_ = Mode::Open;
        } else if (c == '&') {
            BeginReference(RefIn::Text);
        } else {
            text_.Put(c);
        }
    }

    void AfterOpen(char c) {
        pending_.clear();
        if (c == '!') {
            mode_ = Mode::Bang;
        } else if (c == '?') {
            Enter(Mode::Pi, Mode::Text);
        } else if (c == '/') {
            mode_ = Mode::EndTag;
        } else {
            mode_ = Mode::StartTag;
            quote_ = 0;
            lastInTag_ = 0;
            InStartTag(c);
        }
    }

    void Enter(Mode mode, Mode back) {
        mode_ = mode;
        back_ = back;
        pending_.clear();
    }

    // After "<!" (or "<" in the subset): the keyword that says what follows.
    void Keyword(char c) {
        pending_.push_back(c);
        const bool subset = mode_ == Mode::SubsetOpen;
        const Mode back = subset ? Mode::Subset : Mode::Text;
        if (pending_ == (subset ? "!--" : "--")) {
            Enter(Mode::Comment, back);
        } else if (subset && pending_ == "?") {
            Enter(Mode::Pi, back);
        } else if (!subset && pending_ == "[CDATA[") {
            Enter(Mode::Cdata, back);
        } else if (!subset && pending_ == "DOCTYPE") {
            Enter(Mode::Doctype, back);
            quote_ = 0;
        } else if (subset && pending_ == "!ENTITY") {
            Enter(Mode::EntityDecl, back);
            BeginEntity();
        } else if (!StartsAKeyword(subset)) {
            Enter(Mode::Declaration, back);
            quote_ = 0;
        }
    }

    bool StartsAKeyword(bool subset) const {
        static constexpr std::string_view kContent[] = {"--", "[CDATA[", "DOCTYPE"};
        static constexpr std::string_view kSubset[] = {"!--", "?", "!ENTITY"};
        const auto starts = [this](std::string_view word) { return word.starts_with(pending_); };
        return subset ? std::any_of(std::begin(kSubset), std::end(kSubset), starts)
                      : std::any_of(std::begin(kContent), std::end(kContent), starts);
    }

    // Comments, processing instructions and CDATA sections run to their end text.
    void Until(char c, std::string_view end, Mode next, bool watched) {
        if (watched) {
            text_.Put(c);
        }
        pending_.push_back(c);
        if (pending_.size() > end.size()) {
            pending_.erase(0, pending_.size() - end.size());
        }
        if (pending_ == end) {
            mode_ = next;
            pending_.clear();
        }
    }

    void InStartTag(char c) {
        if (quote_ != 0) {
            if (c == quote_) {
                quote_ = 0;
                text_.Put(c);
            } else if (c == '&') {
                BeginReference(RefIn::Value);
            } else {
                text_.Put(c);
            }
            return;
        }
        if (c == '>') {
            mode_ = Mode::Text;
            if (lastInTag_ != '/') {
                OpenElement();
            }
            return;
        }
        if (c == '"' || c == '\'') {
            quote_ = c;
        }
        if (!IsBlank(c)) {
            lastInTag_ = c;
        }
        text_.Put(c);
    }

    void OpenElement() {
        ++depth_;
        maxDepth_ = std::max(maxDepth_, depth_);
        if (!inEntity_ && depth_ > shared_.limits.depth) {
            Refuse(Format("nests elements deeper than %d levels", shared_.limits.depth));
        }
    }

    void InEndTag(char c) {
        if (c == '>') {
            depth_ = std::max(0, depth_ - 1);
            mode_ = Mode::Text;
        } else {
            text_.Put(c);
        }
    }

    void InDoctype(char c) {
        text_.Put(c);
        if (quote_ != 0) {
            quote_ = c == quote_ ? 0 : quote_;
        } else if (c == '"' || c == '\'') {
            quote_ = c;
        } else if (c == '[') {
            mode_ = Mode::Subset;
        } else if (c == '>') {
            EndDoctype();
        } else if (c == '%') {
            percent_ = true;
        }
    }

    void InSubset(char c) {
        if (c == '<') {
            mode_ = Mode::SubsetOpen;
            pending_.clear();
        } else if (c == ']') {
            mode_ = Mode::AfterSubset;
        } else if (c == '%') {
            percent_ = true;
        }
    }

    // "<!ATTLIST ...>" and the like: a default value is decoded and watched.
    void InDeclaration(char c) {
        if (quote_ != 0) {
            if (c == quote_) {
                quote_ = 0;
            } else if (c == '&') {
                BeginReference(RefIn::Value);
                return;
            }
            text_.Put(c);
            return;
        }
        if (c == '"' || c == '\'') {
            quote_ = c;
        } else if (c == '>') {
            mode_ = back_;
            return;
        } else if (c == '%' && back_ == Mode::Subset) {
            percent_ = true;
            return;
        }
        text_.Put(c);
    }

    void BeginEntity() {
        entityStep_ = EntityStep::Blank;
        entityName_.clear();
        replacement_.clear();
        parameter_ = false;
        external_ = false;
        entityLine_ = shared_.line;
        quote_ = 0;
    }

    void InEntityDecl(char c) {
        switch (entityStep_) {
        case EntityStep::Blank:
            if (c == '%') {
                parameter_ = true;
            } else if (IsNameStart(c)) {
                entityName_.push_back(c);
                entityStep_ = EntityStep::Name;
            } else if (c == '>') {
                mode_ = Mode::Subset;
            }
            break;
        case EntityStep::Name:
            if (IsNameChar(c)) {
                entityName_.push_back(c);
            } else {
                entityStep_ = EntityStep::AfterName;
                InEntityDecl(c);
            }
            break;
        case EntityStep::AfterName:
            if (c == '"' || c == '\'') {
                quote_ = c;
                entityStep_ = EntityStep::Literal;
            } else if (c == '>') {
                mode_ = Mode::Subset;
            } else if (!IsBlank(c)) {
                external_ = true; // SYSTEM or PUBLIC
                entityStep_ = EntityStep::External;
                InEntityDecl(c);
            }
            break;
        case EntityStep::Literal:
            if (c == quote_) {
                quote_ = 0;
                entityStep_ = EntityStep::Rest;
            } else if (c == '&') {
                BeginReference(RefIn::Literal);
            } else if (c == '%') {
                percent_ = true;
            } else {
                Literal(c);
            }
            break;
        case EntityStep::External:
        case EntityStep::Rest:
            if (quote_ != 0) {
                quote_ = c == quote_ ? 0 : quote_;
            } else if (c == '"' || c == '\'') {
                quote_ = c;
            } else if (c == '>') {
                Declare();
                mode_ = Mode::Subset;
            }
            break;
        }
    }

    // A character of an entity's literal, as it goes into its replacement text.
    void Literal(char c) {
        if (mode_ != Mode::EntityDecl || entityStep_ != EntityStep::Literal) {
            text_.Put(c);
            return;
        }
        replacement_.push_back(c);
        if (replacement_.size() > shared_.limits.entityBytes) {
            shared_.Fail(Format("declares the entity '%s', which expands to more than %llu bytes",
                                entityName_.c_str(),
                                static_cast<unsigned long long>(shared_.limits.entityBytes)),
                         entityLine_);
        }
    }

    void Declare() {
        if (parameter_ || entityName_.empty() || shared_.entities.count(entityName_) != 0) {
            return; // the first declaration of a name holds
        }
        EntityInfo& entity = shared_.entities[entityName_];
        entity.replacement = std::move(replacement_);
        entity.external = external_;
        entity.line = entityLine_;
        replacement_.clear();
    }

    // At the end of the document type declaration every entity is expanded
    // once: one too large, referring to itself or naming XInclude refuses the
    // export even when the export itself never refers to it (the sheets refer
    // to the export's line style).
    void EndDoctype() {
        mode_ = Mode::Text;
        if (inEntity_) {
            return;
        }
        for (auto& [name, entity] : shared_.entities) {
            const EntityInfo* known = Expanded(shared_, name);
            if (!shared_.problem.empty()) {
                return;
            }
            if (known && known->text.Found()) {
                shared_.Fail(Format("declares the entity '%s', which names XInclude", name.c_str()),
                             entity.line);
                return;
            }
        }
    }

    void BeginReference(RefIn in) {
        inRef_ = true;
        refIn_ = in;
        ref_.clear();
    }

    // A character after "&": true when it belongs to the reference.
    bool TakeReferenceChar(char c) {
        if (c == ';' && !ref_.empty()) {
            inRef_ = false;
            CompleteReference();
            return true;
        }
        const bool fits = ref_.empty() ? (c == '#' || IsNameStart(c)) : IsNameChar(c);
        if (fits && ref_.size() < kMaxReference) {
            ref_.push_back(c);
            return true;
        }
        // No reference: the characters stand as they are.
        inRef_ = false;
        RawReference();
        return false;
    }

    void RawReference() {
        Emit('&');
        for (const char r : ref_) {
            Emit(r);
        }
    }

    void Emit(char c) {
        if (refIn_ == RefIn::Literal) {
            Literal(c);
        } else {
            text_.Put(c);
        }
    }

    void CompleteReference() {
        if (ref_[0] == '#') {
            std::uint32_t cp = 0;
            if (!DecodeCharacter(ref_, cp)) {
                RawReference();
                Emit(';');
                return;
            }
            const std::string bytes = Utf8(cp);
            if (refIn_ == RefIn::Literal) {
                for (const char b : bytes) {
                    Literal(b);
                }
            } else {
                text_.Put(cp < 0x80 ? static_cast<char>(cp) : '\x80', bytes.size());
            }
            return;
        }
        if (refIn_ == RefIn::Literal) {
            RawReference(); // expanded where the entity is used
            Literal(';');
            return;
        }
        if (const char c = Predefined(ref_)) {
            text_.Put(c);
            return;
        }
        Reference();
    }

    void Reference() {
        const EntityInfo* entity = Expanded(shared_, ref_);
        if (!entity || !shared_.problem.empty()) {
            return; // undeclared: the parser refuses it
        }
        text_.PutExpansion(entity->text);
        if (refIn_ == RefIn::Text) {
            maxDepth_ = std::max(maxDepth_, depth_ + entity->depth);
        }
        if (inEntity_) {
            return;
        }
        expanded_ += entity->text.Size();
        const std::uint64_t limit =
            shared_.limits.expansionBytes + shared_.limits.expansionPerByte * shared_.consumed;
        if (expanded_ > limit) {
            Refuse(Format("has entity references that expand to more than %llu bytes together "
                          "(%llu MiB and %llu times the bytes before them)",
                          static_cast<unsigned long long>(limit),
                          static_cast<unsigned long long>(shared_.limits.expansionBytes >> 20),
                          static_cast<unsigned long long>(shared_.limits.expansionPerByte)));
        } else if (refIn_ == RefIn::Text && depth_ + entity->depth > shared_.limits.depth) {
            Refuse(Format("nests elements deeper than %d levels", shared_.limits.depth));
        }
    }

    ScanShared& shared_;
    bool inEntity_;
    Mode mode_ = Mode::Text;
    Mode back_ = Mode::Text;
    std::string pending_;
    char quote_ = 0;
    char lastInTag_ = 0;
    int depth_ = 0;
    int maxDepth_ = 0;
    std::uint64_t expanded_ = 0;
    WordWatch text_;
    bool percent_ = false; // a "%" that may begin a parameter entity reference
    bool inRef_ = false;
    RefIn refIn_ = RefIn::Text;
    std::string ref_;
    EntityStep entityStep_ = EntityStep::Blank;
    std::string entityName_;
    std::string replacement_;
    bool parameter_ = false;
    bool external_ = false;
    int entityLine_ = 0;
};

// The entity's expansion, worked out once; none when it is not declared or
// breaks a bound (the shared problem then says which).
const EntityInfo* Expanded(ScanShared& shared, const std::string& name) {
    const auto it = shared.entities.find(name);
    if (it == shared.entities.end()) {
        return nullptr;
    }
    EntityInfo& entity = it->second;
    if (entity.external || entity.state == EntityInfo::State::Known) {
        return &entity;
    }
    if (entity.state == EntityInfo::State::Expanding) {
        shared.Fail(Format("declares the entity '%s', which refers to itself", name.c_str()),
                    entity.line);
        return nullptr;
    }
    if (shared.nesting >= kMaxEntityNesting) {
        shared.Fail(Format("declares the entity '%s', whose references nest more than %d deep",
                           name.c_str(), kMaxEntityNesting),
                    entity.line);
        return nullptr;
    }
    entity.state = EntityInfo::State::Expanding;
    ++shared.nesting;
    MarkupScan scan(shared, true);
    for (const char c : entity.replacement) {
        scan.Put(c);
        if (!shared.problem.empty()) {
            break;
        }
        if (scan.Text().Size() > shared.limits.entityBytes) {
            shared.Fail(Format("declares the entity '%s', which expands to more than %llu bytes",
                               name.c_str(),
                               static_cast<unsigned long long>(shared.limits.entityBytes)),
                        entity.line);
            break;
        }
    }
    --shared.nesting;
    if (!shared.problem.empty()) {
        return nullptr;
    }
    entity.text = scan.Text();
    entity.depth = scan.MaxDepth();
    entity.state = EntityInfo::State::Known;
    return &entity;
}

} // namespace

struct ExportBounds::Scan {
    explicit Scan(const ExportLimits& limits) : document(shared, false) { shared.limits = limits; }
    ScanShared shared;
    MarkupScan document;
};

ExportBounds::ExportBounds(const ExportLimits& limits) : scan_(std::make_unique<Scan>(limits)) {}

ExportBounds::~ExportBounds() = default;

bool ExportBounds::Feed(std::string_view line) {
    ScanShared& shared = scan_->shared;
    if (!shared.problem.empty()) {
        return false;
    }
    ++shared.line;
    for (const char c : line) {
        ++shared.consumed;
        scan_->document.Put(c);
    }
    ++shared.consumed;
    scan_->document.Put('\n');
    return shared.problem.empty();
}

const std::string& ExportBounds::Problem() const {
    return scan_->shared.problem;
}

int ExportBounds::Line() const {
    return scan_->shared.problemLine;
}

} // namespace kib
