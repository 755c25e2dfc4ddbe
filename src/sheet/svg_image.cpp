#include "sheet/svg_image.h"

#include "foundation/file_stamp.h"
#include "foundation/format.h"
#include "foundation/log.h"
#include "platform/paths.h"
#include "sheet/file_copy.h"
#include "sheet/svg_text.h"

#include <cstdio>
#include <filesystem>

namespace kib {

namespace {

// The font size of a text cell in millimetres and the baseline factor of TextLine.
struct CellFont {
    double size;
    double baseline;
};

CellFont FontOf(const TextCellF& cell) {
    const double height = static_cast<double>(cell.y2) - cell.y1;
    if (cell.fontSize < 0) {
        return {3.0 * height / 10.0, 0.8};
    }
    if (cell.fontSize == 0) {
        return {6.0 * height / 10.0, 0.4};
    }
    return {cell.fontSize / 10.0, 0.4};
}

// -1, 0 or 1 from any number.
int Sign(int v) {
    return v < 0 ? -1 : (v > 0 ? 1 : 0);
}

const char* AnchorOf(int z) {
    return z < 0 ? "start" : (z == 0 ? "middle" : "end");
}

// The x position of a text by its horizontal alignment.
double AlignedX(const TextCellF& cell, int z, double h) {
    if (z < 0) {
        return cell.x1 + h;
    }
    if (z == 0) {
        return (2.0 * h + cell.x1 + cell.x2) * 0.5;
    }
    return cell.x2 + h;
}

} // namespace

void CSvgImage::Write(const std::string& text) {
    if (out_ != nullptr) {
        *out_ << text;
    }
}

std::string CSvgImage::IntCoord(int v) const {
    if (v >= 0) {
        return Format("%d.%c", v, halfShift ? '5' : '0');
    }
    return Format("%.1f", v + Shift()); // below zero the half step goes toward zero
}

void CSvgImage::Attr(const char* name, const std::string& value) {
    Write(Format(" %s=\"%s\"", name, SvgSafeText(value).c_str()));
}

void CSvgImage::Attr(const char* name, int value) {
    Write(Format(" %s=\"%d\"", name, value));
}

void CSvgImage::AttrFloat(const char* name, double value) {
    Write(Format(" %s=\"%f\"", name, value));
}

void CSvgImage::AttrColour(const char* name, int colour) {
    Attr(name, RgbText(colour));
}

void CSvgImage::BeginGroup(const char* id, int lineWidth, int colour, bool dashed) {
    if (id != nullptr) {
        Write(Format("<g id=\"%s\"", SvgSafeText(id).c_str()));
    } else {
        Write("  <g");
    }
    AttrColour("stroke", colour);
    AttrFloat("stroke-width", lineWidth / 10.0);
    if (dashed) {
        Attr("stroke-dasharray", std::string("2, 2"));
    }
    Write(">\r\n");
}

void CSvgImage::EndGroup() {
    Write("</g>\r\n");
}

void CSvgImage::BeginPath() {
    Write("    <path d=\"");
}

void CSvgImage::MoveTo(double x, double y) {
    Write(Format("    <path d=\"M%.3f,%.3f", x + Shift(), y + Shift()));
}

void CSvgImage::MoveTo(float x, float y) {
    MoveTo(static_cast<double>(x), static_cast<double>(y));
}

void CSvgImage::MoveTo(int x, int y) {
    Write("    <path d=\"M" + IntCoord(x) + "," + IntCoord(y));
}

void CSvgImage::LineTo(double x, double y) {
    Write(Format(" L%.3f,%.3f", x + Shift(), y + Shift()));
}

void CSvgImage::LineTo(float x, float y) {
    LineTo(static_cast<double>(x), static_cast<double>(y));
}

void CSvgImage::LineTo(int x, int y) {
    Write(" L" + IntCoord(x) + "," + IntCoord(y));
}

void CSvgImage::EndPath() {
    Write("\"/>\r\n");
}

void CSvgImage::CircleSubpath(float cx, float cy, float r) {
    const double rr = r;
    Write(Format(" M%.3f %.3f a%.3f,%.3f 0 0,1 %.3f,0 a%.3f,%.3f 0 0,1 %.3f,0z",
                 static_cast<double>(cx) - rr, static_cast<double>(cy), rr, rr, 2.0 * rr, rr, rr,
                 -2.0 * rr));
}

void CSvgImage::RectSubpath(float x, float y, float width, float height) {
    Write(Format(" M%.3f %.3f v%.3f h%.3f v-%.3fz", static_cast<double>(x), static_cast<double>(y),
                 static_cast<double>(height), static_cast<double>(width),
                 static_cast<double>(height)));
}

void CSvgImage::FillPolygons(const PolygonTable& table, int colour) {
    Write("    <g");
    Attr("stroke", std::string("none"));
    AttrColour("fill", colour);
    Write(">\r\n");
    for (const Polygon& polygon : table) {
        if (polygon.empty()) {
            continue;
        }
        Write(Format("      <path d=\"M%d.0,%d.0", polygon[0].x, polygon[0].y));
        for (size_t i = 1; i < polygon.size(); ++i) {
            Write(Format(" L%d.0,%d.0", polygon[i].x, polygon[i].y));
        }
        Write("z\"/>\r\n");
    }
    Write("    </g>\r\n");
}

void CSvgImage::NorthArrow(int x, int y, int angle) {
    const std::string transform = Format("rotate(%d %d.0 %d.0) translate(%d.0,%d.0) scale(%f)",
                                         angle, x, y, x, y, arrowSize / 100.0);
    Write(Format("<g id=\"north-arrow\" transform=\"%s\">\r\n", transform.c_str()));
    FillPolygons(NorthArrowShape(), arrowColour);
    Write("</g>\r\n");
}

void CSvgImage::CellFrame(const TextCellF& cell) {
    if (cell.frameWidth == 0) {
        return;
    }
    const double h = Shift();
    Write(Format("          <rect x=\"%.3f\" y=\"%.3f\" width=\"%.3f\" height=\"%.3f\"",
                 cell.x1 + h, cell.y1 + h, static_cast<double>(cell.x2) - cell.x1,
                 static_cast<double>(cell.y2) - cell.y1));
    AttrColour("stroke", cell.colour);
    AttrFloat("stroke-width", cell.frameWidth / 10.0);
    Write("/>\r\n");
}

void CSvgImage::CellTextTail(const TextCellF& cell, double fontSize) {
    if (cell.noStroke) {
        Attr("stroke-width", 0);
    }
    AttrColour("fill", cell.colour);
    AttrFloat("font-size", fontSize);
    Attr("font-family", cell.fontFamily);
    Write(">" + SvgSafeText(cell.text) + "</text>\r\n");
}

void CSvgImage::TextLine(const TextCellF& cell) {
    Write("        <g>\r\n");
    CellFrame(cell);
    if (!cell.text.empty()) {
        const double h = Shift();
        const CellFont font = FontOf(cell);
        const double y = (cell.y1 + h + cell.y2) * 0.5 + font.baseline * font.size;
        const int z = Sign(cell.align);
        Write(Format("          <text x=\"%.3f\" y=\"%.3f\"", AlignedX(cell, z, h), y));
        Attr("text-anchor", std::string(AnchorOf(z)));
        CellTextTail(cell, font.size);
    }
    Write("        </g>\r\n");
}

void CSvgImage::TextBox(const TextCellF& cell) {
    Write("        <g>\r\n");
    CellFrame(cell);
    if (!cell.text.empty()) {
        const double h = Shift();
        const double fontSize = FontOf(cell).size;
        // Two-digit code 10 * v + z, v and z each -1, 0 or 1.
        const int a = cell.align + 15;
        const int v = Sign(a / 10 - 1);
        const int z = Sign(a % 10 - 5);
        double y = cell.y2 + h;
        const char* baseline = "auto";
        if (v < 0) {
            y = cell.y1 + h;
            baseline = "hanging";
        } else if (v == 0) {
            y = (2.0 * h + cell.y1 + cell.y2) * 0.5;
            baseline = "middle";
        }
        Write(Format("          <text x=\"%.3f\" y=\"%.3f\"", AlignedX(cell, z, h), y));
        Attr("text-anchor", std::string(AnchorOf(z)));
        Attr("dominant-baseline", std::string(baseline));
        CellTextTail(cell, fontSize);
    }
    Write("        </g>\r\n");
}

// The outline of a map's place in a preview: a thin dashed black line.
void CSvgImage::BeginOutline() {
    BeginGroup("map-outline", 1, 0, true);
}

void CSvgImage::EndOutline() {
    EndGroup();
}

void CSvgImage::PlaceLogo(const std::string& outputDir, const std::string& logoPath, int count) {
    if (logoPath.empty()) {
        return;
    }
    const size_t slash = logoPath.find_last_of("/\\");
    const std::string fileName = slash == std::string::npos ? logoPath : logoPath.substr(slash + 1);
    // The copy goes beside the sheets: with no output folder named, that is the
    // working folder, never the file-system root.
    const std::string target = platform::WithSeparator(outputDir) + fileName;

    // Copied when the target is missing (also when the logo is missing: the copy then
    // reports it) or when the two last-write times differ.
    FileStamp targetStamp = 0;
    const bool targetExists = GetFileStamp(target, targetStamp, Diag());
    std::error_code same;
    if (targetExists &&
        std::filesystem::equivalent(platform::FsPath(target), platform::FsPath(logoPath), same)) {
        Diag().Debug("Existing logo %s used.", target.c_str()); // the logo already lies there
    } else if (!targetExists || CompareFileStamps(target, logoPath, Diag()) != 0) {
        int error = 0;
        if (ReplaceWithCopy(logoPath, target, error)) {
            Diag().Debug("Logo copied from %s to %s.", logoPath.c_str(), target.c_str());
        } else {
            Diag().Error("Cannot copy logo from %s to %s (error %d)!", logoPath.c_str(),
                         target.c_str(), error);
        }
    } else {
        Diag().Debug("Existing logo %s used.", target.c_str());
    }
    Write(Format("<image xlink:href=\"%s\" width=\"%d\" height=\"%d\" x=\"%d\" y=\"%d\" />\r\n",
                 SvgSafeText(fileName).c_str(), logoW, logoH, (sheetW - logoW) / 2,
                 ((count + 1) / 2) * rowH + logoTop + rowTop));
}

} // namespace kib
