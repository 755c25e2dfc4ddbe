#include "sheet/competition_composer.h"

#include "config/cfg_ids.h"
#include "config/kib_cfg.h"
#include "foundation/first_letter.h"
#include "foundation/format.h"
#include "foundation/log.h"
#include "map_input/kib_map.h"
#include "map_input/line_ops.h"
#include "map_input/station_items.h"
#include "sheet/export_body.h"
#include "sheet/kibage.h"
#include "sheet/map_adjust.h"
#include "sheet/product_info.h"
#include "sheet/svg_text.h"

#include <cstdio>

namespace kib {

namespace {

const char* const kCornerNames[5] = {"", "upper-left", "upper-right", "lower-left", "lower-right"};

class CompetitionComposer {
  public:
    CompetitionComposer(CKibMap& map, CKibage& surface, std::ostream& out, int station, int task)
        : map_(map), cfg_(map.GetConfig()), k_(surface), out_(out), s_(station), t_(task),
          angle_(map.rotation < 0 ? 0 : map.rotation),
          taskText_(std::to_string(task).substr(0, 2)) {}

    bool Compose(int corner);

  private:
    bool ChooseControl();
    void HideSpecialSymbols();
    void ApplyColours();
    void OpenCorner(int corner);
    void WriteMap(int offset);
    void WriteWebPlaceholder(int w, int h);
    void WriteScreeningCut(int w, int h);
    void DrawDecorations();
    void WriteDescriptions();
    void WriteDescriptionSymbols(const DescGeometry& g, int row, bool& columnBFilled);
    void WriteColumnB(const DescGeometry& g, bool columnBFilled);
    void WriteCredit();
    TextCellF DescCell(float x1, float y1, float x2, float y2, const std::string& text) const;

    CKibMap& map_;
    const CKibCfg& cfg_;
    CKibage& k_;
    std::ostream& out_;
    int s_;
    int t_;
    int angle_;             // the map rotation, 0 when the station has none
    std::string taskText_;  // the task number in its description cell: two characters at most
    float controlX_ = 0.0f; // scaled position of the task's control circle
    float controlY_ = 0.0f;
};

bool CompetitionComposer::ChooseControl() {
    int matched = 0;
    for (int p = 0; p < map_.partCount; ++p) {
        SymbolInstance* part = map_.Part(p);
        if (!part || !part->firstLine) {
            continue;
        }
        if (map_.PartHasTask(p, t_)) {
            if (++matched == 1) {
                controlX_ = map_.zoom * part->centre.x;
                controlY_ = map_.zoom * part->centre.y;
            }
            if (part->firstLine->hidden) {
                SetLinesHidden(part->firstLine, part->lastLine, false, map_.Diag());
            }
        } else if (!part->firstLine->hidden) {
            HideLines(part->firstLine, part->lastLine, map_.Diag());
        }
    }
    if (matched == 0) {
        k_.Diag().Error("Found no control circle for task %d.%d!", s_, t_);
        return false;
    }
    k_.Diag().Debug("Control circle original scaled position: %.3f %.3f",
                    static_cast<double>(controlX_), static_cast<double>(controlY_));
    return true;
}

void CompetitionComposer::HideSpecialSymbols() {
    HideSymbol(map_, map_.chairId, 1);
    HideSymbol(map_, map_.correctFlagId, 1);
    HideSymbol(map_, map_.falseFlagId, 1);
    HideSymbol(map_, map_.zeroId, 1);
    HideSymbol(map_, map_.lettersId, 6);
}

void CompetitionComposer::ApplyColours() {
    const std::string& mode = cfg_.Item(id::MapColors_PURPLEMODE).GetValue();
    if (FirstLetter(mode, LetterCase::Either) == 'D') {
        SetSymbolColour(map_, map_.circleId,
                        RgbText(cfg_.Color(id::MapColors_PURPLECOLOR).GetColor()), 1);
    }
    DarkenGreens(map_, cfg_.Item(id::MapColors_GREENDARKEN).GetInt());
}

void CompetitionComposer::OpenCorner(int corner) {
    const char* name = kCornerNames[corner];
    const char* tail = "\" clip-path=\"url(#CANVAS)\">\r\n";
    switch (corner) {
    case 1:
        AppendF(out_, "<g id=\"%s\" transform=\"translate(0,0.5)%s", name, tail);
        break;
    case 2:
        AppendF(out_, "<g id=\"%s\" transform=\"translate(%d,0.5)%s", name, k_.canvasW + 1, tail);
        break;
    case 3:
        AppendF(out_, "<g id=\"%s\" transform=\"translate(0,%d)%s", name, k_.canvasH + 1, tail);
        break;
    case 4:
        AppendF(out_, "<g id=\"%s\" transform=\"translate(%d,%d)%s", name, k_.canvasW + 1,
                k_.canvasH + 1, tail);
        break;
    default:
        break;
    }
}

void CompetitionComposer::WriteMap(int offset) {
    if (cfg_.Item(id::Target_REDUCESIZE).IsYes()) {
        ReduceToSegment(map_, k_, controlX_ / map_.zoom, controlY_ / map_.zoom, false, offset);
    }
    const std::string transform = Format(
        "rotate(%d %d %d) translate(%.3f %.3f) scale(%f)", angle_, k_.mapCentreX,
        k_.mapCentreY + offset, static_cast<double>(k_.mapCentreX - controlX_),
        static_cast<double>(k_.mapCentreY - controlY_ + offset), static_cast<double>(map_.zoom));
    k_.Diag().Debug("Transformation: %s", transform.c_str());
    out_ << "<g id=\"scaleTransform\" transform=\"" << transform << "\">" << kCrLf;
    WriteMapBody(map_, out_);
    out_ << "</g>" << kCrLf;
}

void CompetitionComposer::WriteWebPlaceholder(int w, int h) {
    out_ << "<g id=\"map\" fill=\"lightgreen\">" << kCrLf;
    k_.BeginPath();
    AppendF(out_, " M%d.0 %d.0 h%d.0 v%d.0 h-%d.0z", 0, 0, w, h, w);
    k_.EndPath();
    out_ << "</g>" << kCrLf;
}

void CompetitionComposer::WriteScreeningCut(int w, int h) {
    out_ << "<g id=\"screening-cut\" fill-rule=\"evenodd\" fill=\"white\""
         << "  stroke=\"black\" stroke-width=\"0\">" << kCrLf;
    k_.BeginPath();
    AppendF(out_, " M%d.0 %d.0 h%d.0 v%d.0 h-%d.0z", 0, 0, w, h, w);
    if (t_ > 0 || k_.modeWeb) {
        const float r = static_cast<float>(k_.segRadius);
        const float cx = static_cast<float>(k_.mapCentreX);
        const float cy = static_cast<float>(k_.mapCentreY);
        if (k_.circleShape) {
            k_.CircleSubpath(cx, cy, r);
        } else if (k_.modeWeb) {
            k_.RectSubpath(cx - r, 0.0f, 2.0f * r, static_cast<float>(k_.segH));
        } else {
            k_.RectSubpath(cx - r, cy - r, 2.0f * r, 2.0f * r);
        }
    }
    k_.EndPath();
    out_ << "</g>" << kCrLf;
}

void CompetitionComposer::DrawDecorations() {
    k_.DrawHeading(t_ == 0);
    k_.DrawMapBorder();
    k_.DrawNorthArrows(angle_, 0);
    if (k_.modeAnt || k_.modeWeb) {
        return;
    }
    if (t_ == 0) {
        k_.DrawCoverInfo();
    }
    k_.DrawCuttingLine(t_);
    k_.DrawOrderTabs(s_, t_);
    k_.DrawPointingBoard();
}

TextCellF CompetitionComposer::DescCell(float x1, float y1, float x2, float y2,
                                        const std::string& text) const {
    return DescriptionCell(map_, k_.descFont.family, x1, y1, x2, y2, text);
}

void CompetitionComposer::WriteDescriptions() {
    const DescGeometry g = MeasuredTable(map_);
    const float w = g.width;
    const float h = g.rowHeight;
    const double x0 = k_.modeWeb ? static_cast<double>(k_.descMargin)
                                 : k_.descCentreX - k_.descCell * w / (2.0f * h);
    out_ << "<g id=\"control-descriptions\">" << kCrLf;
    AppendF(out_, "   <g transform=\"translate(%.3f %d.0)\">\r\n", x0, k_.descTop);
    AppendF(out_, "    <g stroke=\"%s\" transform=\"scale(%.3f)\">\r\n",
            RgbText(map_.descColour).c_str(), static_cast<double>(k_.descCell / h));
    k_.TextLine(DescCell(0.0f, 0.0f, h, h, taskText_));
    const std::string strokeGroup = BorderStrokeGroup(map_, "0.50");
    out_ << "      <g id=\"upper border\">\r\n" << strokeGroup;
    AppendF(out_, "          <path d=\"M0.000,0.000 L%.3f,0.000\"/>\r\n", static_cast<double>(w));
    out_ << "        </g>\r\n"
         << "      </g>\r\n"
         << "      <g id=\"lower border\">\r\n"
         << strokeGroup;
    AppendF(out_, "          <path d=\"M0.000,%.3f L%.3f,%.3f\"/>\r\n", static_cast<double>(h),
            static_cast<double>(w), static_cast<double>(h));
    out_ << "        </g>\r\n"
         << "      </g>\r\n";
    bool columnBFilled = false;
    WriteDescriptionSymbols(g, TaskDescriptionRow(map_, t_, t_), columnBFilled);
    WriteColumnB(g, columnBFilled);
    out_ << "    </g>\r\n"
         << "  </g>\r\n"
         << "</g>\r\n";
}

void CompetitionComposer::WriteDescriptionSymbols(const DescGeometry& g, int row,
                                                  bool& columnBFilled) {
    const int columnBMajor = map_.descMajors[4];
    const double dx = -g.left;
    const double dy = -g.top - (row - 1) * g.rowHeight;
    for (int k = 1; k <= map_.RowEntryCount(row); ++k) {
        const SymbolInstance* inst = map_.RowEntry(row, k);
        if (!inst) {
            continue;
        }
        if (inst->column == 2 && inst->major == columnBMajor) {
            columnBFilled = true;
            if (k_.colBMode == 2) {
                k_.Diag().Debug("Control description: %d.%d#%d skipped (ColB)", inst->major,
                                inst->minor, inst->index);
                continue;
            }
        } else if (map_.answersId.valid && (inst->type & TYPE_ANSWER)) {
            k_.Diag().Debug("Control description: %d.%d#%d skipped (Answer)", inst->major,
                            inst->minor, inst->index);
            continue;
        } else if (inst->column == 8) {
            k_.Diag().Debug("Control description: %d.%d#%d skipped (Column H)", inst->major,
                            inst->minor, inst->index);
            continue;
        }
        AppendF(out_, "      <g id=\"%d.%d#%d\" transform=\"translate(%.3f %.3f)\">\r\n",
                inst->major, inst->minor, inst->index, dx, dy);
        WriteLines(*inst, "        ", out_);
        out_ << "      </g>" << kCrLf;
    }
}

void CompetitionComposer::WriteColumnB(const DescGeometry& g, bool columnBFilled) {
    if (k_.colBMode == 0 && !columnBFilled) {
        k_.Diag().Error("Column B of control description is empty in task %d.%d!", s_, t_);
    }
    if (k_.colBMode == 2 || (k_.colBMode == 1 && !columnBFilled)) {
        k_.TextLine(DescCell(g.c1 - g.c0, 0.0f, g.c2 - g.c0 + 0.3f, g.rowHeight, k_.letterRange));
    }
}

void CompetitionComposer::WriteCredit() {
    const std::string formatted = "Formatted by Kib, ver. " + VersionText();
    TextCell cell;
    cell.colour = 0;
    cell.fontFamily = k_.headingFont.family;
    cell.fontSize = 30;
    if (k_.modeWeb) {
        cell.x2 = k_.sheetW;
        cell.y1 = k_.descTop;
        cell.y2 = k_.sheetH;
        cell.text = formatted + ", " + kCopyrightNotice;
        k_.TextLine(cell);
        return;
    }
    cell.x1 = k_.headLeft;
    cell.y1 = k_.descTop;
    cell.y2 = k_.descTop + k_.descCell;
    cell.align = -1;
    cell.text = formatted;
    k_.TextLine(cell);
    cell.x1 = 0;
    cell.x2 = k_.headRight;
    cell.align = 1;
    cell.text = kCopyrightNotice;
    k_.TextLine(cell);
}

bool CompetitionComposer::Compose(int corner) {
    if (t_ > 0 && !ChooseControl()) {
        return false;
    }
    if (t_ > 0) {
        HideSpecialSymbols();
    }
    ApplyColours();
    const int row = TaskDescriptionRow(map_, t_, t_);
    if (t_ > 0 && map_.RowEntryCount(row) == 0) {
        k_.Diag().Warning("Cannot find control description graphics for station %d, task "
                          "%d!",
                          s_, t_);
    }
    OpenCorner(corner);
    // The vertical shift of the map, bounded like every length of the layout.
    const int offset = BoundedLength(StationInt(cfg_, s_, id::Station_MAPOFFSET));
    // A print-sheet canvas is covered up to its own edges; a stand-alone map
    // document is covered over its whole sheet, tiled or not, so that no map
    // shows beyond the canvas.
    const bool onPrintSheet = corner != kCornerAlone;
    const int w = onPrintSheet ? k_.canvasW : k_.sheetW + 1;
    const int h = onPrintSheet ? k_.canvasH : k_.sheetH + 1;
    if (t_ > 0) {
        WriteMap(offset);
    } else if (k_.modeWeb) {
        WriteWebPlaceholder(w, h);
    }
    WriteScreeningCut(w, h);
    DrawDecorations();
    if (t_ > 0) {
        WriteDescriptions();
    } else {
        WriteCredit();
    }
    if (onPrintSheet) {
        out_ << "</g>" << kCrLf;
    }
    return true;
}

} // namespace

int TaskDescriptionRow(const CKibMap& map, int task, int literalRow) {
    if (map.firstControlRow < 0) {
        return literalRow;
    }
    return map.firstControlRow + task - 1;
}

bool ExportDeclaresEntity(const CKibMap& map, const char* name) {
    const std::string declaration = std::string("<!ENTITY ") + name;
    for (const MapLine& line : map.Lines()) {
        if (line.text.compare(0, 4, "<svg") == 0) {
            break;
        }
        for (std::size_t at = line.text.find(declaration); at != std::string::npos;
             at = line.text.find(declaration, at + 1)) {
            const std::size_t end = at + declaration.size();
            if (end < line.text.size() && (line.text[end] == ' ' || line.text[end] == '\t')) {
                return true;
            }
        }
    }
    return false;
}

std::string BorderStrokeGroup(const CKibMap& map, const char* width) {
    if (ExportDeclaresEntity(map, "stR")) {
        return Format("        <g stroke-width=\"%s\" style=\"&stR;\">\r\n", width);
    }
    return Format("        <g stroke-width=\"%s\">\r\n", width);
}

bool ComposeCompetitionMap(CKibMap& map, CKibage& surface, std::ostream& out, int station, int task,
                           int corner) {
    if (corner < kCornerAlone || corner > 4) {
        corner = kCornerAlone;
    }
    CompetitionComposer composer(map, surface, out, station, task);
    return composer.Compose(corner);
}

} // namespace kib
