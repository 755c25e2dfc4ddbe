// The configuration file: reading it (current and older keys, with its tolerance
// rules and error limit) and writing it (replaced whole, never half-written).
#include "config/kib_doc.h"

#include "config/cfg_item.h"
#include "config/cfg_sect.h"
#include "config/document_observer.h"
#include "config/property_pane.h"
#include "foundation/app_state.h"
#include "foundation/atomic_file.h"
#include "foundation/input_file.h"
#include "foundation/log.h"

#include "platform/files.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace kib {

namespace {

constexpr int kMaxErrors = 10;

enum class LineKind { Ignored, Header, Key, FormatError };

LineKind KindOf(const std::string& line) {
    if (line.empty()) {
        return LineKind::Ignored;
    }
    const auto c = static_cast<unsigned char>(line[0]);
    if (c == '\t' || c == ' ' || c == '#') {
        return LineKind::Ignored;
    }
    if (c == '[') {
        return LineKind::Header;
    }
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) {
        return LineKind::Key;
    }
    return LineKind::FormatError; // other printable characters, or none at all
}

std::string Decimal(int v) {
    return std::to_string(v);
}

// Why a value of the file was refused, in the words of the item's kind.
const char* RefusalWords(const CCfgItem& item, const std::string& text) {
    switch (item.GetKind()) {
    case ItemKind::SheetForm:
        return "is not a sheet size";
    case ItemKind::CanvasForm:
        return "is not a canvas size";
    case ItemKind::YesNo:
        return "is neither Yes nor No";
    case ItemKind::Scale:
        return "is not a map scale";
    case ItemKind::Colour:
        return "is not a colour";
    case ItemKind::Integer:
    case ItemKind::StationNumber:
    case ItemKind::TaskCount:
    case ItemKind::FlagCount: {
        int number = 0;
        return std::sscanf(text.c_str(), "%d", &number) == 1 ? "is out of range"
                                                             : "is not a number";
    }
    default:
        break;
    }
    return "is not accepted";
}

// A refused value is never dropped without a word: the warning names the key,
// the refused text and the value used instead, and the text is kept for saving.
void SetFromFile(CCfgItem& item, const std::string& text, Diagnostics& diagnostics) {
    if (item.SetText(text)) {
        return;
    }
    item.KeepRejected(text);
    const std::string& used = item.GetValue();
    const std::string usedWords = used.empty() ? "it stays unset" : used + " is used";
    diagnostics.Warning("%s.%s: %s=%s %s; %s", item.GetSection().GetName().c_str(),
                        item.GetKey().c_str(), item.GetKey().c_str(), text.c_str(),
                        RefusalWords(item, text), usedWords.c_str());
}

// How an older key was taken.
enum class OlderKey { Unknown, Counted, Uncounted };

class ConfigReader {
  public:
    ConfigReader(CKibDoc& doc, CKibCfg& cfg) : doc_(doc), cfg_(cfg) {}

    // Reads lines until the end or until the format is given up.
    void Read(std::istream& in) {
        std::string line;
        while (format_) {
            const LineRead read = ReadBoundedLine(in, line);
            if (read == LineRead::End) {
                break;
            }
            ++doc_.lineNo;
            if (read == LineRead::TooLong) {
                doc_.Diag().Error("Line #%d of the configuration file is longer than %d MiB!",
                                  doc_.lineNo, static_cast<int>(kMaxLineBytes >> 20));
                format_ = false;
                break;
            }
            if (!line.empty() && line.back() == '\r') {
                line.pop_back();
            }
            ReadLine(line);
        }
    }

    bool FormatOk() const { return format_; }
    int Recognised() const { return recognised_; }
    int Errors() const { return errors_; }

  private:
    void ReadLine(const std::string& line) {
        switch (KindOf(line)) {
        case LineKind::Ignored:
            return;
        case LineKind::Header:
            Header(line);
            return;
        case LineKind::Key:
            KeyLine(line);
            return;
        case LineKind::FormatError:
            format_ = false;
            CountError();
            return;
        }
    }

    void Header(const std::string& line) {
        section_ = nullptr;
        const std::size_t close = line.find(']');
        if (close != std::string::npos) {
            section_ = cfg_.FindSection(line.substr(1, close - 1));
        }
        if (!section_) {
            Unrecognised(line);
        }
    }

    void KeyLine(const std::string& line) {
        const std::size_t equals = line.find('=');
        if (!section_ || equals == std::string::npos) {
            Unrecognised(line);
            return;
        }
        std::string key = line.substr(0, equals);
        key.erase(key.find_last_not_of(' ') + 1);
        const std::size_t start = line.find_first_not_of(' ', equals + 1);
        if (start == std::string::npos) {
            return; // no value: the item keeps its state
        }
        const std::string value = line.substr(start);
        doc_.Diag().Debug("Found %s.%s=%s", section_->GetName().c_str(), key.c_str(),
                          value.c_str());
        if (CCfgItem* item = section_->FindItem(key)) {
            ++recognised_;
            SetFromFile(*item, value, doc_.Diag());
            return;
        }
        doc_.SetModifiedFlag(true);
        switch (Older(key, value)) {
        case OlderKey::Counted:
            ++recognised_;
            break;
        case OlderKey::Uncounted:
            break;
        case OlderKey::Unknown:
            Unrecognised(line);
            break;
        }
    }

    // Keys of earlier versions of the format, compared exactly.
    OlderKey Older(const std::string& key, const std::string& value) {
        static constexpr struct {
            const char* key;
            int id;
            int onlyInSection; // 0: any section
        } kRenamed[] = {
            {"WIN_PATH", id::System_INKSCAPEPATH, 0},
            {"WINPATH", id::System_INKSCAPEPATH, 0},
            {"TGTDIR", id::Target_DIR, 0},
            {"TGTDPI", id::Target_DPI, 0},
            {"MAPSRC", id::Source_MAP, 0},
            {"CANVAS", id::Target_CANVAS, 0},
            {"SHEET", id::Target_SHEET, 0},
            {"MAPD", id::MapSegment_SIZE, 0},
            {"ARRD", id::NorthArrow_SIZE, 0},
            {"MASKD", id::OrderTabs_SIZE, 0},
            {"DSCD", id::Descriptions_SIZE, 0},
            {"COLB", id::Descriptions_COLB, id::Section_Event},
            {"STATS", id::Event_MAXSTAT, 0},
        };
        for (const auto& r : kRenamed) {
            if (key == r.key) {
                if (r.onlyInSection != 0 && section_->GetId() != r.onlyInSection) {
                    return OlderKey::Unknown;
                }
                SetFromFile(cfg_.Item(r.id), value, doc_.Diag());
                return OlderKey::Counted;
            }
        }
        if (key == "SCALEQUID") {
            ScaleAndContourInterval(value);
        } else if (key == "HPAD") {
            Padding(value, id::NorthArrow_MARGIN);
        } else if (key == "VPAD") {
            Padding(value, id::Descriptions_MARGIN);
        } else if (key == "ANGLE") {
            return Angles(value) ? OlderKey::Uncounted : OlderKey::Unknown;
        } else if (key == "FLAGS") {
            if (section_->GetId() != id::Section_Source) {
                return OlderKey::Unknown;
            }
            cfg_.Item(id::Source_FLAG).SetText(value);
        } else if (key == "CFLAG" || key == "FFLAG") {
            MoreFlags(value, key == "CFLAG");
        } else {
            return OlderKey::Unknown;
        }
        return OlderKey::Uncounted;
    }

    // "4000, 5 m": the scale, then the contour interval. Every blank after the
    // comma is skipped: a value beginning with a blank would not read back the same
    // after a save, since the reader drops the blanks after "=".
    void ScaleAndContourInterval(const std::string& value) {
        const std::size_t comma = value.find(',');
        if (comma == std::string::npos) {
            cfg_.Item(id::Event_SCALE).SetText(value);
            return;
        }
        cfg_.Item(id::Event_SCALE).SetText(value.substr(0, comma));
        const std::size_t rest = value.find_first_not_of(' ', comma + 1);
        cfg_.Item(id::Event_EQUID).SetText(rest == std::string::npos ? "" : value.substr(rest));
    }

    // A padding of old was twice the margin of the arrows or descriptions; the
    // map segment's margin had to be at least the padding.
    void Padding(const std::string& value, int marginId) {
        const int v = LeadingInt(value);
        cfg_.Item(marginId).SetText(Decimal(v / 2));
        if (cfg_.Item(id::MapSegment_MARGIN).GetInt() < v) {
            cfg_.Item(id::MapSegment_MARGIN).SetText(Decimal(v / 2));
        }
    }

    // One angle or two; only a station has angles.
    bool Angles(const std::string& value) {
        const int station = section_->GetStation();
        if (station < 0) {
            return false;
        }
        int first = 0, second = 0;
        const int n = std::sscanf(value.c_str(), "%d %d", &first, &second);
        if (n >= 1) {
            cfg_.StationItem(station, id::Station_MINANGLE).SetInt(first);
            cfg_.StationItem(station, id::Station_MAXANGLE).SetInt(n == 2 ? second : first);
        }
        return true;
    }

    // CFLAG puts the new symbols before the listed ones, FFLAG after them.
    void MoreFlags(const std::string& value, bool before) {
        CCfgItem& flag = cfg_.Item(id::Source_FLAG);
        if (!flag.IsSet()) {
            flag.SetText(value);
            return;
        }
        const std::string listed = flag.GetValue();
        flag.SetText(before ? value + " " + listed : listed + " " + value);
    }

    void Unrecognised(const std::string& line) {
        doc_.Diag().Error("Unrecognized line #%d: %s", doc_.lineNo, line.c_str());
        CountError();
    }

    // Counts an error of the file, a format error as well as an unrecognised
    // line; the tenth is reported and ends the reading.
    void CountError() {
        if (++errors_ >= kMaxErrors) {
            doc_.Diag().Error("Too many errors in the configuration file!");
            format_ = false;
        }
    }

    CKibDoc& doc_;
    CKibCfg& cfg_;
    CCfgSect* section_ = nullptr;
    int recognised_ = 0;
    int errors_ = 0;
    bool format_ = true;
};

// The stations that hold values of their own widen the configured range.
std::pair<int, int> WidenedStationRange(const CKibCfg& cfg, int first, int last) {
    for (int n = 0; n < kStationCount; ++n) {
        if (cfg.Station(n)->HasSetItem()) {
            first = std::min(first, n);
            last = std::max(last, n);
        }
    }
    return {first, last};
}

// The text of the file: the first line, then every section with values.
std::string ConfigText(const CKibCfg& cfg) {
    std::string text = "# Kib Configuration\r\n";
    for (const auto& section : cfg.Sections()) {
        // A refused line of the file is written back as the organiser wrote it.
        std::string lines;
        for (const auto& item : section->Items()) {
            const std::string& value =
                item->GetValueText().empty() ? item->GetRejectedText() : item->GetValueText();
            if (!value.empty()) {
                lines += item->GetKey() + "=" + value + "\r\n";
            }
        }
        if (!lines.empty()) {
            text += "\r\n[" + section->GetName() + "]\r\n" + lines;
        }
    }
    return text;
}

} // namespace

bool CKibDoc::OnOpenDocument(const std::string& path) {
    SetPathParts(path);
    SetLoaded(false);
    SetNeverSaved(false);
    InputFile file;
    if (!file.Open(path)) {
        openFailure_ = file.Reason();
        return false;
    }
    openFailure_.clear();
    std::istream& in = file.Stream();
    CKibCfg& cfg = NewConfig();
    PropertyPane& pane = Pane();
    pane.ForgetOriginalValues();
    pane.AttachDocument(this);
    Diag().Info("Parsing config file %s%s", GetDirectory().c_str(), GetFileName().c_str());

    lineNo = 0;
    ConfigReader reader(*this, cfg);
    reader.Read(in);
    UpdateDebugSwitch(cfg);

    if (!reader.FormatOk() || reader.Recognised() == 0) {
        ShowBox(*host_, "Configuration file format not recognized!", BoxIcon::Error);
        return false;
    }
    SetLoaded(true);
    const int first = cfg.GetMinStation();
    const int last = cfg.GetMaxStation();
    const auto [wideFirst, wideLast] = WidenedStationRange(cfg, first, last);
    pane.ShowStationRange(wideFirst, wideLast);
    cfg.PushToProperties();
    pane.ShowStationRange(first, last);
    Diag().Info("Configuration loaded.");
    observer_->DocumentOpened(*this);
    if (reader.Errors() != 0) {
        ShowBox(*host_, "Some lines in the configuration file weren't recognized!",
                BoxIcon::Warning);
    }
    return true;
}

// The file is written under a temporary name in the same folder and renamed over
// the old one, so that a failed save leaves the old file whole.
bool CKibDoc::OnSaveDocument(const std::string& path) {
    SetPathParts(path);
    const std::string fullPath = GetPathName();
    // A symbolic link keeps naming the file: the file it names is replaced.
    const std::string target = platform::ResolveLinks(path);
    const bool exists = platform::KindOf(target) != platform::FileKind::Missing;
    bool ok = false;
    // A file that may not be written is not replaced either.
    const bool writable = !exists || platform::IsWritable(target);
    AtomicFile file;
    if (cfg_ && writable && file.Begin(target)) {
        Diag().Debug("Configuration file %s%s opened for output...", GetDirectory().c_str(),
                     GetFileName().c_str());
        host_->SetStatusText("Saving configuration file...");
        if (exists) {
            file.Output().CopyPermissionsOf(target); // the file keeps its permissions
        }
        ok = file.Write(ConfigText(*cfg_)) && file.Commit();
    }
    host_->SetStatusText("Ready");
    if (!ok) {
        Diag().Error("Configuration file %s saving failed.", fullPath.c_str());
        ShowBox(*host_, "Configuration file not saved!", BoxIcon::Error);
        return false;
    }
    Diag().Info("Configuration file %s saved.", fullPath.c_str());
    SetModifiedFlag(false);
    SetNeverSaved(false);
    return true;
}

} // namespace kib
