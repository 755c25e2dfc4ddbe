#include "app/text_baselines.h"

#include <cairo-ft.h>
#include <cairo.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string_view>

namespace kib {

namespace {

// Metrics of a font in ems, as Inkscape reads them: ascent and descent from
// the OS/2 table's typographic values (else the face's), scaled so that they add
// up to one em; the x-height from the OS/2 table (else the height of "x").
struct FontMetrics {
    double ascent = 0.8;
    double descent = 0.2;
    double xHeight = 0.5;
};

FontMetrics ReadMetrics(FT_Face face) {
    FontMetrics m;
    const double em = face->units_per_EM > 0 ? face->units_per_EM : 1000.0;
    const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    const bool validOs2 = os2 != nullptr && os2->version != 0xFFFFu;
    m.ascent = std::fabs((validOs2 ? os2->sTypoAscender : face->ascender) / em);
    m.descent = std::fabs((validOs2 ? os2->sTypoDescender : face->descender) / em);
    const double size = m.ascent + m.descent;
    if (size > 0.0) {
        m.ascent /= size;
        m.descent /= size;
    }
    if (validOs2 && os2->version >= 2) {
        m.xHeight = std::fabs(os2->sxHeight / em);
    } else {
        const FT_UInt x = FT_Get_Char_Index(face, 'x');
        if (x != 0 && FT_Load_Glyph(face, x, FT_LOAD_NO_SCALE) == 0) {
            m.xHeight = std::fabs(face->glyph->metrics.height / em);
        }
    }
    return m;
}

FontMetrics MetricsOf(const std::string& family) {
    FontMetrics metrics;
    cairo_font_face_t* face = cairo_toy_font_face_create(family.c_str(), CAIRO_FONT_SLANT_NORMAL,
                                                         CAIRO_FONT_WEIGHT_NORMAL);
    cairo_matrix_t size;
    cairo_matrix_t identity;
    cairo_matrix_init_scale(&size, 100.0, 100.0);
    cairo_matrix_init_identity(&identity);
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_scaled_font_t* scaled = cairo_scaled_font_create(face, &size, &identity, options);
    if (cairo_scaled_font_status(scaled) == CAIRO_STATUS_SUCCESS &&
        cairo_scaled_font_get_type(scaled) == CAIRO_FONT_TYPE_FT) {
        if (FT_Face ft = cairo_ft_scaled_font_lock_face(scaled)) {
            metrics = ReadMetrics(ft);
            cairo_ft_scaled_font_unlock_face(scaled);
        }
    }
    cairo_scaled_font_destroy(scaled);
    cairo_font_options_destroy(options);
    cairo_font_face_destroy(face);
    return metrics;
}

// The value of name="..." within the tag text; false when it is not there.
bool AttributeValue(std::string_view tag, std::string_view name, std::string& value) {
    const std::string key = " " + std::string(name) + "=\"";
    const std::size_t at = tag.find(key);
    if (at == std::string_view::npos) {
        return false;
    }
    const std::size_t start = at + key.size();
    const std::size_t end = tag.find('"', start);
    if (end == std::string_view::npos) {
        return false;
    }
    value = std::string(tag.substr(start, end - start));
    return true;
}

} // namespace

namespace {

double HeightIn(const FontMetrics& m, const std::string& baseline) {
    if (baseline == "hanging") {
        return 0.8 * m.ascent;
    }
    if (baseline == "middle") {
        return 0.5 * m.xHeight;
    }
    if (baseline == "central") {
        return 0.5 - m.descent;
    }
    return 0.0;
}

bool ShiftsText(const std::string& baseline) {
    return baseline == "hanging" || baseline == "middle" || baseline == "central";
}

} // namespace

double BaselineHeight(const std::string& family, const std::string& baseline) {
    return ShiftsText(baseline) ? HeightIn(MetricsOf(family), baseline) : 0.0;
}

std::string PlaceTextBaselines(const std::string& svg) {
    static const std::string kAttribute = " dominant-baseline=\"";
    std::map<std::string, FontMetrics> fonts; // a sheet has few fonts and many texts
    std::string out;
    std::size_t copied = 0;
    for (std::size_t at = svg.find(kAttribute); at != std::string::npos;
         at = svg.find(kAttribute, at + 1)) {
        // The attribute of a text tag that starts and ends on this line.
        const std::size_t lineStart = svg.rfind('\n', at) + 1; // npos + 1 is 0
        const std::size_t open = svg.rfind("<text ", at);
        const std::size_t close = svg.find('>', at);
        const std::size_t lineEnd = svg.find('\n', at);
        if (open == std::string::npos || open < lineStart || close == std::string::npos ||
            close > lineEnd || svg.find('>', open) != close) {
            continue;
        }
        const std::string_view tag(svg.data() + open, close - open);
        std::string baseline;
        std::string size;
        std::string family;
        std::string dy;
        if (!AttributeValue(tag, "dominant-baseline", baseline) ||
            !AttributeValue(tag, "font-size", size) ||
            !AttributeValue(tag, "font-family", family) || AttributeValue(tag, "dy", dy)) {
            continue;
        }
        if (!ShiftsText(baseline)) {
            continue;
        }
        auto font = fonts.find(family);
        if (font == fonts.end()) {
            font = fonts.emplace(family, MetricsOf(family)).first;
        }
        const double shift = HeightIn(font->second, baseline) * std::strtod(size.c_str(), nullptr);
        if (!(shift > 0.0) || !std::isfinite(shift)) {
            continue;
        }
        const std::size_t end = svg.find('"', at + kAttribute.size()) + 1;
        char replacement[64];
        std::snprintf(replacement, sizeof replacement, " dy=\"%.4f\"", shift);
        out.append(svg, copied, at - copied);
        out += replacement;
        copied = end;
    }
    if (copied == 0) {
        return svg;
    }
    out.append(svg, copied, std::string::npos);
    return out;
}

} // namespace kib
