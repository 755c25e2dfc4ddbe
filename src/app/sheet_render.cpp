#include "app/sheet_render.h"

#include "app/converted_file.h"
#include "app/sheet_source.h"
#include "foundation/atomic_file.h"

#include <cairo.h>
#include <librsvg/rsvg.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <memory>

namespace kib {

namespace {

struct HandleRelease {
    void operator()(RsvgHandle* handle) const { g_object_unref(handle); }
};
struct SurfaceRelease {
    void operator()(cairo_surface_t* surface) const { cairo_surface_destroy(surface); }
};
struct ContextRelease {
    void operator()(cairo_t* cr) const { cairo_destroy(cr); }
};

std::string TakeMessage(GError* error, const char* fallback) {
    std::string text = error && error->message ? error->message : fallback;
    if (error) {
        g_error_free(error);
    }
    return text;
}

// The part of the page that is drawn on, as fractions of the page (x0, y0, x1,
// y1), found on a small render; the whole page when nothing is drawn.
struct Fractions {
    double x0 = 0.0, y0 = 0.0, x1 = 1.0, y1 = 1.0;
};

Fractions DrawnPart(cairo_surface_t* surface) {
    const int w = cairo_image_surface_get_width(surface);
    const int h = cairo_image_surface_get_height(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    int left = w, top = h, right = -1, bottom = -1;
    for (int y = 0; y < h; ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(data + y * stride);
        for (int x = 0; x < w; ++x) {
            if ((row[x] & 0x00FFFFFFu) != 0x00FFFFFFu) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    }
    if (right < 0) {
        return {};
    }
    // One pixel of the small render around the drawing, so nothing is cut.
    return {std::max(0, left - 1) / static_cast<double>(w),
            std::max(0, top - 1) / static_cast<double>(h),
            std::min(w, right + 2) / static_cast<double>(w),
            std::min(h, bottom + 2) / static_cast<double>(h)};
}

// Renders the page scaled by scale and moved by (dx, dy) pixels onto a white
// surface of w × h pixels.
std::unique_ptr<cairo_surface_t, SurfaceRelease> Render(RsvgHandle* handle, double pageW,
                                                        double pageH, int w, int h, double scale,
                                                        double dx, double dy, std::string& error) {
    std::unique_ptr<cairo_surface_t, SurfaceRelease> surface(
        cairo_image_surface_create(CAIRO_FORMAT_RGB24, w, h));
    std::unique_ptr<cairo_t, ContextRelease> cr(cairo_create(surface.get()));
    cairo_set_source_rgb(cr.get(), 1.0, 1.0, 1.0);
    cairo_paint(cr.get());
    cairo_translate(cr.get(), dx, dy);
    const RsvgRectangle viewport{0.0, 0.0, pageW * scale, pageH * scale};
    GError* gerror = nullptr;
    if (!rsvg_handle_render_document(handle, cr.get(), &viewport, &gerror)) {
        error = TakeMessage(gerror, "cannot be rendered");
        return nullptr;
    }
    cairo_surface_flush(surface.get());
    return surface;
}

cairo_status_t WriteToFile(void* closure, const unsigned char* data, unsigned int length) {
    auto* file = static_cast<AtomicFile*>(closure);
    return file->Write(std::string_view(reinterpret_cast<const char*>(data), length))
               ? CAIRO_STATUS_SUCCESS
               : CAIRO_STATUS_WRITE_ERROR;
}

bool WritePng(cairo_surface_t* surface, const std::string& pngPath, std::string& error) {
    AtomicFile file;
    if (!file.Begin(pngPath)) {
        error = "cannot write " + pngPath + ": " + file.Reason();
        return false;
    }
    const cairo_status_t status = cairo_surface_write_to_png_stream(surface, WriteToFile, &file);
    if (status != CAIRO_STATUS_SUCCESS) {
        file.FailWriting(0, cairo_status_to_string(status));
    }
    if (!file.Commit([](const std::string& path) { return IncompleteReason(path, "png"); })) {
        error = "cannot write " + pngPath + ": " + file.Reason();
        return false;
    }
    return true;
}

// The rendered surface of the sheet, or none with the reason in error.
std::unique_ptr<cairo_surface_t, SurfaceRelease>
RenderSheet(const std::string& svgPath, int widthPx, bool drawnPartOnly, std::string& error) {
    // Files the sheet names are found only in its folder (the logo beside it):
    // librsvg reads no file elsewhere and nothing over the network, and the text
    // has no external entities and no XInclude (sheet_source.h).
    std::string text;
    if (!ReadSheetForDrawing(svgPath, text, error)) {
        return nullptr;
    }
    GFile* file = g_file_new_for_path(svgPath.c_str());
    GInputStream* stream =
        g_memory_input_stream_new_from_data(text.data(), static_cast<gssize>(text.size()), nullptr);
    GError* gerror = nullptr;
    std::unique_ptr<RsvgHandle, HandleRelease> handle(
        rsvg_handle_new_from_stream_sync(stream, file, RSVG_HANDLE_FLAGS_NONE, nullptr, &gerror));
    g_object_unref(stream);
    g_object_unref(file);
    if (!handle) {
        error = TakeMessage(gerror, "cannot be read");
        return nullptr;
    }
    rsvg_handle_set_dpi(handle.get(), 96.0);
    double w = 0.0, h = 0.0;
    if (!rsvg_handle_get_intrinsic_size_in_pixels(handle.get(), &w, &h) || !(w > 0.0) ||
        !(h > 0.0) || widthPx < 1 || widthPx > 20000) {
        error = "the sheet has no page size";
        return nullptr;
    }
    Fractions part;
    if (drawnPartOnly) {
        constexpr int kProbeWidth = 400;
        const double probeScale = kProbeWidth / w;
        const int probeH = std::max(1, static_cast<int>(std::lround(h * probeScale)));
        const auto probe =
            Render(handle.get(), w, h, kProbeWidth, probeH, probeScale, 0.0, 0.0, error);
        if (!probe) {
            return nullptr;
        }
        part = DrawnPart(probe.get());
    }
    const double partW = (part.x1 - part.x0) * w;
    const double partH = (part.y1 - part.y0) * h;
    const double scale = widthPx / partW;
    const int heightPx = std::clamp(static_cast<int>(std::lround(partH * scale)), 1, 40000);
    return Render(handle.get(), w, h, widthPx, heightPx, scale, -part.x0 * w * scale,
                  -part.y0 * h * scale, error);
}

} // namespace

bool RenderSheetPng(const std::string& svgPath, const std::string& pngPath, int widthPx,
                    std::string& error, bool drawnPartOnly) {
    const auto surface = RenderSheet(svgPath, widthPx, drawnPartOnly, error);
    return surface && WritePng(surface.get(), pngPath, error);
}

bool RenderSheetPicture(const std::string& svgPath, int widthPx, bool drawnPartOnly,
                        SheetPicture& picture, std::string& error) {
    const auto surface = RenderSheet(svgPath, widthPx, drawnPartOnly, error);
    if (!surface) {
        return false;
    }
    picture.width = cairo_image_surface_get_width(surface.get());
    picture.height = cairo_image_surface_get_height(surface.get());
    const int stride = cairo_image_surface_get_stride(surface.get());
    const unsigned char* data = cairo_image_surface_get_data(surface.get());
    picture.pixels.resize(static_cast<std::size_t>(picture.width) *
                          static_cast<std::size_t>(picture.height));
    for (int y = 0; y < picture.height; ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(data + y * stride);
        std::copy(row, row + picture.width,
                  picture.pixels.begin() + static_cast<std::ptrdiff_t>(y) * picture.width);
    }
    return true;
}

} // namespace kib
