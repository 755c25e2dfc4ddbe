// The built-in converter: librsvg draws the sheet on a cairo surface, a PDF,
// PostScript or EPS file for the vector formats, for PNG an image drawn band by
// band and written row by row with libpng, so that a 600 dpi sheet never needs
// the whole picture in memory.
#include "app/builtin_convert.h"

#include "app/converted_file.h"

#include "app/sheet_source.h"
#include "app/text_baselines.h"
#include "config/cfg_ids.h"
#include "config/kib_cfg.h"
#include "foundation/app_state.h"
#include "foundation/atomic_file.h"
#include "foundation/file_stamp.h"
#include "foundation/format.h"
#include "foundation/log.h"
#include "platform/files.h"
#include "platform/process.h"

#include <cairo-pdf.h>
#include <cairo-ps.h>
#include <cairo.h>
#include <librsvg/rsvg.h>
#include <png.h>
#include <zlib.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <vector>

namespace kib {

namespace {

// Vector pages are measured in points.
constexpr double kPointsPerInch = 72.0;
// The largest band of a PNG image drawn at once.
constexpr std::size_t kBandBytes = kPngBandBytes;

struct GObjectUnref {
    void operator()(void* object) const { g_object_unref(object); }
};
using Handle = std::unique_ptr<RsvgHandle, GObjectUnref>;

struct SurfaceDestroy {
    void operator()(cairo_surface_t* surface) const { cairo_surface_destroy(surface); }
};
using Surface = std::unique_ptr<cairo_surface_t, SurfaceDestroy>;

struct ContextDestroy {
    void operator()(cairo_t* cr) const { cairo_destroy(cr); }
};
using Context = std::unique_ptr<cairo_t, ContextDestroy>;

// The text of a GError, which is freed.
std::string TakeMessage(GError* error) {
    std::string text = error && error->message ? error->message : "unknown error";
    if (error) {
        g_error_free(error);
    }
    return text;
}

// The bytes cairo and libpng make, written through the descriptor of the
// converted file's temporary file that AtomicFile created: the file is never
// opened again by its name, which someone could meanwhile have turned into a
// link to a file outside the event. Buffered, since both libraries hand over
// many small pieces.
class FileSink {
  public:
    explicit FileSink(AtomicFile& file) : file_(file) { buffer_.reserve(kBuffer); }

    bool Put(const void* data, std::size_t size) {
        if (failed_) {
            return false;
        }
        const char* bytes = static_cast<const char*>(data);
        if (buffer_.size() + size > kBuffer) {
            if (!Flush()) {
                return false;
            }
            if (size > kBuffer) {
                failed_ = !file_.Write(std::string_view(bytes, size));
                return !failed_;
            }
        }
        buffer_.append(bytes, size);
        return true;
    }
    bool Flush() {
        if (!failed_ && !buffer_.empty()) {
            failed_ = !file_.Write(buffer_);
            buffer_.clear();
        }
        return !failed_;
    }
    AtomicFile& File() { return file_; }

  private:
    static constexpr std::size_t kBuffer = 1u << 16;
    AtomicFile& file_;
    std::string buffer_;
    bool failed_ = false;
};

cairo_status_t WriteToSink(void* closure, const unsigned char* data, unsigned int length) {
    return static_cast<FileSink*>(closure)->Put(data, length) ? CAIRO_STATUS_SUCCESS
                                                              : CAIRO_STATUS_WRITE_ERROR;
}

// The reason a converted file could not be written.
std::string WriteProblem(AtomicFile& file) {
    return file.Reason().empty() ? std::string("it could not be written") : file.Reason();
}

// The sheet, read at dpi user units to the inch, and its page size in them.
// Its texts are placed by their dominant baselines first (text_baselines.h);
// files it names are found only in its folder (the logo beside it): librsvg
// reads no file elsewhere and nothing over the network, and the sheet's text
// has no external entities and no XInclude in any spelling (sheet_source.h). None with the
// reason in problem (a whole sentence naming the sheet). With composed, that
// text stands for the file's (its files are still found beside svg).
Handle LoadSheet(const std::string& svg, double dpi, double& width, double& height,
                 std::string& problem, const std::string* composed = nullptr) {
    std::string text;
    std::string reason;
    if (composed) {
        text = *composed;
        if (!ConfineSheet(text, reason)) {
            problem = Format("Cannot read '%s' for conversion: %s", svg.c_str(), reason.c_str());
            return nullptr;
        }
    } else if (!ReadSheetForDrawing(svg, text, reason)) {
        problem = Format("Cannot read '%s' for conversion: %s", svg.c_str(), reason.c_str());
        return nullptr;
    }
    text = PlaceTextBaselines(text);
    GFile* file = g_file_new_for_path(svg.c_str());
    GInputStream* stream =
        g_memory_input_stream_new_from_data(text.data(), static_cast<gssize>(text.size()), nullptr);
    GError* error = nullptr;
    // The parser keeps its limits (nesting, entity expansion, the size of one
    // text): sheets of real maps stay far within them, and a sheet beyond them
    // is refused instead of exhausting the memory or the stack of a drawing.
    Handle handle(
        rsvg_handle_new_from_stream_sync(stream, file, RSVG_HANDLE_FLAGS_NONE, nullptr, &error));
    g_object_unref(stream);
    g_object_unref(file);
    if (!handle) {
        problem =
            Format("Cannot read '%s' for conversion: %s", svg.c_str(), TakeMessage(error).c_str());
        return nullptr;
    }
    rsvg_handle_set_dpi(handle.get(), dpi);
    if (!rsvg_handle_get_intrinsic_size_in_pixels(handle.get(), &width, &height) ||
        !(width > 0.0) || !(height > 0.0)) {
        problem = Format("Cannot convert '%s': it gives no page size.", svg.c_str());
        return nullptr;
    }
    return handle;
}

// The error lines of a drawing, which the thread that reports the sheet logs:
// a drawing may run on a worker, which logs nothing.
using Errors = std::vector<std::string>;

// The same, with the reason as an error line.
Handle LoadSheet(const std::string& svg, double dpi, double& width, double& height,
                 Errors& errors) {
    std::string problem;
    Handle handle = LoadSheet(svg, dpi, width, height, problem);
    if (!handle) {
        errors.push_back(problem);
    }
    return handle;
}

bool Draw(RsvgHandle* handle, cairo_t* cr, double width, double height, const std::string& svg,
          std::string& problem) {
    const RsvgRectangle viewport{0.0, 0.0, width, height};
    GError* error = nullptr;
    if (!rsvg_handle_render_document(handle, cr, &viewport, &error)) {
        problem = Format("Cannot draw '%s': %s", svg.c_str(), TakeMessage(error).c_str());
        return false;
    }
    return true;
}

bool Draw(RsvgHandle* handle, cairo_t* cr, double width, double height, const std::string& svg,
          Errors& errors) {
    std::string problem;
    if (!Draw(handle, cr, width, height, svg, problem)) {
        errors.push_back(problem);
        return false;
    }
    return true;
}

// PDF, PS or EPS: the whole page.
bool RenderVector(const std::string& svg, AtomicFile& out, OutputFormat format, Errors& errors) {
    double width = 0.0;
    double height = 0.0;
    const Handle handle = LoadSheet(svg, kPointsPerInch, width, height, errors);
    if (!handle) {
        return false;
    }
    const std::string& target = out.TemporaryPath();
    FileSink sink(out);
    Surface surface(format == OutputFormat::Pdf
                        ? cairo_pdf_surface_create_for_stream(WriteToSink, &sink, width, height)
                        : cairo_ps_surface_create_for_stream(WriteToSink, &sink, width, height));
    if (format == OutputFormat::Eps) {
        cairo_ps_surface_set_eps(surface.get(), 1);
    }
    bool drawn = false;
    {
        const Context cr(cairo_create(surface.get()));
        drawn = Draw(handle.get(), cr.get(), width, height, svg, errors);
    }
    cairo_surface_finish(surface.get());
    const cairo_status_t status = cairo_surface_status(surface.get());
    if (!sink.Flush() || status == CAIRO_STATUS_WRITE_ERROR) {
        errors.push_back(
            Format("Cannot write '%s': %s", target.c_str(), WriteProblem(out).c_str()));
        return false;
    }
    if (status != CAIRO_STATUS_SUCCESS) {
        errors.push_back(
            Format("Cannot write '%s': %s", target.c_str(), cairo_status_to_string(status)));
        return false;
    }
    return drawn;
}

// A PNG file written row by row. libpng reports errors by a long jump back to
// the method that called it; those methods hold no objects that need cleaning.
class PngFile {
  public:
    PngFile() = default;
    PngFile(const PngFile&) = delete;
    PngFile& operator=(const PngFile&) = delete;
    ~PngFile() {
        if (png_) {
            png_destroy_write_struct(&png_, &info_);
        }
    }

    // RGBA with 8 bits a channel, with the resolution recorded in the file,
    // written into out's temporary file through its descriptor.
    bool Begin(AtomicFile& out, int width, int height, int dpi, const PngEncoding& encoding,
               bool alpha = true) {
        sink_ = std::make_unique<FileSink>(out);
        png_ = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
        info_ = png_ ? png_create_info_struct(png_) : nullptr;
        if (!info_) {
            return false;
        }
        if (setjmp(png_jmpbuf(png_))) {
            return false;
        }
        png_set_write_fn(png_, sink_.get(), WriteData, FlushData);
        Encode(encoding);
        png_set_IHDR(png_, info_, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height),
                     8, alpha ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                     PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
        const auto perMetre = static_cast<png_uint_32>(std::lround(dpi / 0.0254));
        png_set_pHYs(png_, info_, perMetre, perMetre, PNG_RESOLUTION_METER);
        png_write_info(png_, info_);
        return true;
    }
    bool Row(const std::uint8_t* rgba) {
        if (setjmp(png_jmpbuf(png_))) {
            return false;
        }
        png_write_row(png_, rgba);
        return true;
    }
    // Ends the file; false when anything could not be written.
    bool End() {
        if (setjmp(png_jmpbuf(png_))) {
            return false;
        }
        png_write_end(png_, nullptr);
        return sink_->Flush();
    }

  private:
    static void WriteData(png_structp png, png_bytep data, png_size_t length) {
        if (!static_cast<FileSink*>(png_get_io_ptr(png))->Put(data, length)) {
            png_error(png, "write error");
        }
    }
    static void FlushData(png_structp) {}

    void Encode(const PngEncoding& encoding) {
        using Filter = PngEncoding::Filter;
        using Strategy = PngEncoding::Strategy;
        switch (encoding.filter) {
        case Filter::LibpngChoice:
            break;
        case Filter::None:
            png_set_filter(png_, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
            break;
        case Filter::Sub:
            png_set_filter(png_, PNG_FILTER_TYPE_BASE, PNG_FILTER_SUB);
            break;
        case Filter::Up:
            png_set_filter(png_, PNG_FILTER_TYPE_BASE, PNG_FILTER_UP);
            break;
        case Filter::Paeth:
            png_set_filter(png_, PNG_FILTER_TYPE_BASE, PNG_FILTER_PAETH);
            break;
        }
        if (encoding.zlibLevel >= 0) {
            png_set_compression_level(png_, std::clamp(encoding.zlibLevel, 0, 9));
        }
        switch (encoding.strategy) {
        case Strategy::LibpngChoice:
            break;
        case Strategy::Default:
            png_set_compression_strategy(png_, Z_DEFAULT_STRATEGY);
            break;
        case Strategy::Filtered:
            png_set_compression_strategy(png_, Z_FILTERED);
            break;
        case Strategy::Rle:
            png_set_compression_strategy(png_, Z_RLE);
            break;
        }
    }

    std::unique_ptr<FileSink> sink_;
    png_structp png_ = nullptr;
    png_infop info_ = nullptr;
};

// One row of cairo's premultiplied native ARGB as RGBA bytes.
void ToRgba(const std::uint32_t* argb, int width, std::uint8_t* rgba) {
    for (int x = 0; x < width; ++x, rgba += 4) {
        const std::uint32_t p = argb[x];
        const std::uint32_t a = p >> 24;
        if (a == 0) {
            rgba[0] = rgba[1] = rgba[2] = rgba[3] = 0;
            continue;
        }
        if (a == 0xFF) {
            // Opaque (most of a sheet, every pixel of a picture): nothing to divide.
            rgba[0] = static_cast<std::uint8_t>(p >> 16);
            rgba[1] = static_cast<std::uint8_t>(p >> 8);
            rgba[2] = static_cast<std::uint8_t>(p);
            rgba[3] = 0xFF;
            continue;
        }
        const auto unmultiply = [a](std::uint32_t c) {
            return static_cast<std::uint8_t>((c * 255 + a / 2) / a);
        };
        rgba[0] = unmultiply((p >> 16) & 0xFF);
        rgba[1] = unmultiply((p >> 8) & 0xFF);
        rgba[2] = unmultiply(p & 0xFF);
        rgba[3] = static_cast<std::uint8_t>(a);
    }
}

// One row of opaque pixels (a picture on white) as RGB bytes.
void ToRgb(const std::uint32_t* argb, int width, std::uint8_t* rgb) {
    for (int x = 0; x < width; ++x, rgb += 3) {
        const std::uint32_t p = argb[x];
        rgb[0] = static_cast<std::uint8_t>(p >> 16);
        rgb[1] = static_cast<std::uint8_t>(p >> 8);
        rgb[2] = static_cast<std::uint8_t>(p);
    }
}

// What a banded drawing takes from the page: pixelsW x pixelsH pixels, the
// page (in its user units) scaled by (scaleX, scaleY) and moved by (dx, dy)
// pixels, on a transparent or a white background.
struct PixelFrame {
    int pixelsW = 0;
    int pixelsH = 0;
    double scaleX = 1.0;
    double scaleY = 1.0;
    double dx = 0.0;
    double dy = 0.0;
    bool white = false;
};

// Draws the frame band by band (bandRows rows; 0: as many as fit in 32 MB) and
// hands every row, top down, to row as cairo's premultiplied native ARGB. False
// with the reason in problem when a band cannot be drawn or row refuses.
bool DrawBands(RsvgHandle* handle, double width, double height, const std::string& svg,
               const PixelFrame& f, int bandRows,
               const std::function<bool(const std::uint32_t* argb)>& row, std::string& problem,
               PixelBand* memory = nullptr) {
    const long fit =
        static_cast<long>(kBandBytes / (4u * static_cast<std::size_t>(std::max(f.pixelsW, 1))));
    const int band =
        static_cast<int>(std::clamp<long>(bandRows > 0 ? bandRows : fit, 1, f.pixelsH));
    // Each band is painted whole before it is drawn: the memory's earlier
    // contents never show.
    const int stride = cairo_format_stride_for_width(CAIRO_FORMAT_ARGB32, f.pixelsW);
    Surface surface(
        memory && stride > 0
            ? cairo_image_surface_create_for_data(
                  memory->Take(static_cast<std::size_t>(stride) * static_cast<std::size_t>(band)),
                  CAIRO_FORMAT_ARGB32, f.pixelsW, band, stride)
            : cairo_image_surface_create(CAIRO_FORMAT_ARGB32, f.pixelsW, band));
    if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS) {
        problem = Format("Cannot convert '%s': no memory for a band of %d x %d pixels.",
                         svg.c_str(), f.pixelsW, band);
        return false;
    }
    for (int top = 0; top < f.pixelsH; top += band) {
        {
            const Context cr(cairo_create(surface.get()));
            if (f.white) {
                cairo_set_source_rgb(cr.get(), 1.0, 1.0, 1.0);
                cairo_paint(cr.get());
            } else {
                cairo_set_operator(cr.get(), CAIRO_OPERATOR_CLEAR);
                cairo_paint(cr.get());
                cairo_set_operator(cr.get(), CAIRO_OPERATOR_OVER);
            }
            cairo_translate(cr.get(), f.dx, f.dy - static_cast<double>(top));
            cairo_scale(cr.get(), f.scaleX, f.scaleY);
            if (!Draw(handle, cr.get(), width, height, svg, problem)) {
                return false;
            }
        }
        cairo_surface_flush(surface.get());
        const unsigned char* data = cairo_image_surface_get_data(surface.get());
        const int stride = cairo_image_surface_get_stride(surface.get());
        for (int y = 0; y < band && top + y < f.pixelsH; ++y) {
            if (!row(reinterpret_cast<const std::uint32_t*>(data + static_cast<std::ptrdiff_t>(y) *
                                                                       stride))) {
                return false;
            }
        }
    }
    return true;
}

// PNG: the page at dpi, its size rounded to whole pixels and the page stretched
// to them, on a transparent background, drawn in bands of rows.
bool RenderPng(const std::string& svg, AtomicFile& out, int dpi, int bandRows,
               const PngEncoding& encoding, Errors& errors, PixelBand* memory = nullptr) {
    const std::string& target = out.TemporaryPath();
    double width = 0.0;
    double height = 0.0;
    const Handle handle = LoadSheet(svg, dpi, width, height, errors);
    if (!handle) {
        return false;
    }
    const long w = std::lround(width);
    const long h = std::lround(height);
    if (w < 1 || h < 1 || w > 1000000 || h > 1000000) {
        errors.push_back(
            Format("Cannot convert '%s': a page of %ld x %ld pixels.", svg.c_str(), w, h));
        return false;
    }
    PixelFrame frame;
    frame.pixelsW = static_cast<int>(w);
    frame.pixelsH = static_cast<int>(h);
    // The page fills the whole pixels in each direction, as Inkscape stretches
    // it (librsvg alone would keep its aspect ratio).
    frame.scaleX = static_cast<double>(frame.pixelsW) / width;
    frame.scaleY = static_cast<double>(frame.pixelsH) / height;
    PngFile png;
    if (!png.Begin(out, frame.pixelsW, frame.pixelsH, dpi, encoding)) {
        errors.push_back(
            Format("Cannot write '%s': %s", target.c_str(), WriteProblem(out).c_str()));
        return false;
    }
    std::vector<std::uint8_t> rgba(static_cast<std::size_t>(frame.pixelsW) * 4);
    bool written = true;
    std::string problem;
    const bool drawn = DrawBands(
        handle.get(), width, height, svg, frame, bandRows,
        [&](const std::uint32_t* argb) {
            ToRgba(argb, frame.pixelsW, rgba.data());
            written = png.Row(rgba.data());
            return written;
        },
        problem, memory);
    if (!drawn && written) {
        errors.push_back(problem);
        return false;
    }
    if (!written || !png.End()) {
        errors.push_back(
            Format("Cannot write '%s': %s", target.c_str(), WriteProblem(out).c_str()));
        return false;
    }
    return true;
}

// Pictures of sheets are drawn at 96 user units to the inch, as a screen shows them.
constexpr double kPictureDpi = 96.0;

// The part of the page that is drawn on, as fractions of the page (x0, y0, x1,
// y1), found on a small picture; the whole page when nothing is drawn.
struct Fractions {
    double x0 = 0.0, y0 = 0.0, x1 = 1.0, y1 = 1.0;
};

bool DrawnPart(RsvgHandle* handle, double w, double h, const std::string& svg, Fractions& part,
               std::string& problem) {
    constexpr int kProbeWidth = 400;
    PixelFrame probe;
    probe.pixelsW = kProbeWidth;
    probe.pixelsH = std::max(1, static_cast<int>(std::lround(h * kProbeWidth / w)));
    probe.scaleX = probe.scaleY = kProbeWidth / w;
    probe.white = true;
    int left = probe.pixelsW, top = probe.pixelsH, right = -1, bottom = -1;
    int y = 0;
    const bool drawn = DrawBands(
        handle, w, h, svg, probe, 0,
        [&](const std::uint32_t* argb) {
            for (int x = 0; x < probe.pixelsW; ++x) {
                if ((argb[x] & 0x00FFFFFFu) != 0x00FFFFFFu) {
                    left = std::min(left, x);
                    right = std::max(right, x);
                    top = std::min(top, y);
                    bottom = std::max(bottom, y);
                }
            }
            ++y;
            return true;
        },
        problem);
    if (!drawn) {
        return false;
    }
    part = Fractions{};
    if (right >= 0) {
        // One pixel of the small picture around the drawing, so nothing is cut.
        const double pw = probe.pixelsW;
        const double ph = probe.pixelsH;
        part = {std::max(0, left - 1) / pw, std::max(0, top - 1) / ph,
                std::min(probe.pixelsW, right + 2) / pw, std::min(probe.pixelsH, bottom + 2) / ph};
    }
    return true;
}

// Draws the picture of a sheet widthPx wide (of its drawn part only when asked)
// and hands its rows to row; false with the reason in error.
bool DrawPicture(const std::string& svgPath, int widthPx, bool drawnPartOnly,
                 const std::function<void(int w, int h)>& size,
                 const std::function<bool(const std::uint32_t* argb)>& row, std::string& error,
                 const std::string* composed = nullptr) {
    double w = 0.0;
    double h = 0.0;
    const Handle handle = LoadSheet(svgPath, kPictureDpi, w, h, error, composed);
    if (!handle) {
        return false;
    }
    if (widthPx < 1 || widthPx > 20000) {
        error = "a picture width of " + std::to_string(widthPx) + " pixels";
        return false;
    }
    Fractions part;
    if (drawnPartOnly && !DrawnPart(handle.get(), w, h, svgPath, part, error)) {
        return false;
    }
    const double partW = (part.x1 - part.x0) * w;
    const double partH = (part.y1 - part.y0) * h;
    PixelFrame frame;
    frame.pixelsW = widthPx;
    frame.scaleX = frame.scaleY = widthPx / partW;
    frame.pixelsH = std::clamp(static_cast<int>(std::lround(partH * frame.scaleY)), 1, 40000);
    frame.dx = -part.x0 * w * frame.scaleX;
    frame.dy = -part.y0 * h * frame.scaleY;
    frame.white = true;
    size(frame.pixelsW, frame.pixelsH);
    return DrawBands(handle.get(), w, h, svgPath, frame, 0, row, error);
}

// Shrinks a picture on white, given row by row as cairo's native ARGB, to a
// smaller one: each pixel of the small picture is the mean of the area of the
// large one that it covers, its rows handed on as RGB bytes once complete.
// The rows are summed down each column in whole numbers (a row split between
// two small rows by its share in 256ths), and across once per small row.
class AreaShrink {
  public:
    AreaShrink(int w1, int h1, int w2, int h2)
        : w1_(w1), h1_(h1), h2_(h2), rowsPer_(static_cast<double>(h1) / h2),
          columns_(3u * static_cast<std::size_t>(w1), 0u),
          next_(3u * static_cast<std::size_t>(w1), 0u), out_(3u * static_cast<std::size_t>(w2)) {
        // The input columns each output column takes, with the share of each.
        const double colsPer = static_cast<double>(w1) / w2;
        for (int x = 0; x < w2; ++x) {
            const double from = x * colsPer;
            const double to = (x + 1) * colsPer;
            for (int c = static_cast<int>(from); c < w1 && c < to; ++c) {
                const double share = std::min<double>(c + 1, to) - std::max<double>(c, from);
                if (share > 0.0) {
                    taps_.push_back(Tap{3 * c, 3 * x, static_cast<float>(share / colsPer)});
                }
            }
        }
    }

    // Takes the next input row; emit gets every output row it completes.
    template <typename Sink> bool Row(const std::uint32_t* argb, const Sink& emit) {
        // The input row covers [y, y + 1); the output row row_ ends at rowEnd.
        const double rowEnd = (row_ + 1) * rowsPer_;
        const double y = static_cast<double>(y_++);
        const bool last = y_ >= h1_;
        if (y + 1.0 <= rowEnd + 1e-9 || last) {
            Add(columns_, argb, 256u);
            return y + 1.0 < rowEnd - 1e-9 && !last ? true : Finish(emit);
        }
        // Split between this output row and the next one.
        const auto here =
            static_cast<std::uint32_t>(std::clamp(std::lround((rowEnd - y) * 256.0), 0L, 256L));
        Add(columns_, argb, here);
        Add(next_, argb, 256u - here);
        const bool emitted = Finish(emit);
        columns_.swap(next_);
        return emitted;
    }

  private:
    struct Tap {
        int in;  // the input column's first channel
        int out; // the output column's first byte
        float share;
    };

    void Add(std::vector<std::uint32_t>& sums, const std::uint32_t* argb, std::uint32_t weight) {
        std::uint32_t* to = sums.data();
        for (int x = 0; x < w1_; ++x, to += 3) {
            const std::uint32_t p = argb[x];
            to[0] += ((p >> 16) & 0xFFu) * weight;
            to[1] += ((p >> 8) & 0xFFu) * weight;
            to[2] += (p & 0xFFu) * weight;
        }
    }

    // The output row from the columns' sums; the sums start again.
    template <typename Sink> bool Finish(const Sink& emit) {
        if (row_ >= h2_) {
            std::fill(columns_.begin(), columns_.end(), 0u);
            return true;
        }
        std::vector<float> line(out_.size(), 0.0f);
        for (const Tap& t : taps_) {
            float* to = &line[static_cast<std::size_t>(t.out)];
            const std::uint32_t* from = &columns_[static_cast<std::size_t>(t.in)];
            to[0] += t.share * static_cast<float>(from[0]);
            to[1] += t.share * static_cast<float>(from[1]);
            to[2] += t.share * static_cast<float>(from[2]);
        }
        const float scale = 1.0f / static_cast<float>(256.0 * rowsPer_);
        for (std::size_t k = 0; k < out_.size(); ++k) {
            out_[k] = static_cast<std::uint8_t>(std::clamp(line[k] * scale + 0.5f, 0.0f, 255.0f));
        }
        std::fill(columns_.begin(), columns_.end(), 0u);
        ++row_;
        return emit(out_.data());
    }

    int w1_;
    int h1_;
    int h2_;
    double rowsPer_; // input rows per output row
    std::vector<Tap> taps_;
    std::vector<std::uint32_t> columns_; // the output row being gathered, per input column
    std::vector<std::uint32_t> next_;    // the share of a split row for the next output row
    std::vector<std::uint8_t> out_;
    int y_ = 0;   // the next input row
    int row_ = 0; // the output row being gathered
};

} // namespace

bool BuiltInConverterAvailable() {
    return true;
}

bool DrawSheetFile(const std::string& svg, AtomicFile& target, OutputFormat format, int dpi,
                   const PngEncoding& encoding, std::vector<std::string>& errors, PixelBand* band) {
    if (format == OutputFormat::Png) {
        if (dpi < 1) {
            errors.push_back(Format("Cannot convert '%s' at %d dpi.", svg.c_str(), dpi));
            return false;
        }
        return RenderPng(svg, target, dpi, 0, encoding, errors, band);
    }
    if (format == OutputFormat::Pdf || format == OutputFormat::Ps || format == OutputFormat::Eps) {
        return RenderVector(svg, target, format, errors);
    }
    errors.push_back(Format("Output format %d is unknown.", static_cast<int>(format)));
    return false;
}

// No row filter, zlib's default level 6 (convert_bench): a 600 dpi print sheet is
// drawn and written about twice as fast as with libpng's defaults, in a file about
// a tenth smaller; levels 4 and 5 are no faster, levels 1 to 3 faster but the files
// 40 % larger.
PngEncoding SheetPngEncoding() {
    return PngEncoding{PngEncoding::Filter::None, 6, PngEncoding::Strategy::LibpngChoice};
}

PngEncoding LibpngDefaultEncoding() {
    return PngEncoding{PngEncoding::Filter::LibpngChoice, -1, PngEncoding::Strategy::LibpngChoice};
}

// Pictures are looked at on the screen and written again whenever their sheet
// changes: zlib's fastest level, no row filter.
PngEncoding PicturePngEncoding() {
    return PngEncoding{PngEncoding::Filter::None, 1, PngEncoding::Strategy::LibpngChoice};
}

bool RenderPngInBands(const std::string& svg, const std::string& target, int dpi, int bandRows,
                      const PngEncoding& encoding) {
    Errors errors;
    AtomicFile file;
    bool drawn = file.Begin(target) && RenderPng(svg, file, dpi, bandRows, encoding, errors);
    if (drawn) {
        drawn = file.Commit();
    } else {
        file.Abandon();
    }
    for (const std::string& line : errors) {
        App().Log().Say(DiagnosticKind::Error, line);
    }
    return drawn;
}

bool RenderSheetPngs(const std::string& svgPath, std::vector<PicturePng>& pictures,
                     bool drawnPartOnly, const std::string* composed, const PictureCommit& commit) {
    for (PicturePng& picture : pictures) {
        picture.error.clear();
    }
    if (pictures.empty()) {
        return true;
    }
    // Each picture is drawn into a temporary file made here anew, complete
    // before it replaces the old picture: never through a link someone put at
    // the name.
    std::vector<std::unique_ptr<AtomicFile>> files;
    std::vector<std::unique_ptr<PngFile>> pngs(pictures.size());
    std::vector<std::unique_ptr<AreaShrink>> shrinks(pictures.size());
    for (PicturePng& picture : pictures) {
        files.push_back(std::make_unique<AtomicFile>());
        if (!files.back()->Begin(picture.png)) {
            picture.error = "cannot write " + picture.png + ": " + files.back()->Reason();
        }
    }
    std::vector<std::uint8_t> rgb;
    std::string problem;
    // The first picture is drawn; the others are shrunk from its rows.
    const bool drawn = DrawPicture(
        svgPath, pictures.front().widthPx, drawnPartOnly,
        [&](int w, int h) {
            rgb.resize(static_cast<std::size_t>(w) * 3);
            for (std::size_t k = 0; k < pictures.size(); ++k) {
                const int pw = k == 0 ? w : std::clamp(pictures[k].widthPx, 1, w);
                const int ph =
                    k == 0
                        ? h
                        : std::clamp(static_cast<int>(std::lround(static_cast<double>(h) * pw / w)),
                                     1, h);
                pngs[k] = std::make_unique<PngFile>();
                if (pictures[k].error.empty() &&
                    !pngs[k]->Begin(*files[k], pw, ph, static_cast<int>(kPictureDpi),
                                    PicturePngEncoding(), false)) {
                    files[k]->FailWriting(0, "the picture could not be written");
                }
                if (k > 0) {
                    shrinks[k] = std::make_unique<AreaShrink>(w, h, pw, ph);
                }
            }
        },
        [&](const std::uint32_t* argb) {
            const int w = static_cast<int>(rgb.size() / 3);
            for (std::size_t k = 0; k < pictures.size(); ++k) {
                if (!pictures[k].error.empty() || files[k]->Failed() != AtomicFile::Failure::None) {
                    continue;
                }
                PngFile& png = *pngs[k];
                const bool written = k == 0
                                         ? (ToRgb(argb, w, rgb.data()), png.Row(rgb.data()))
                                         : shrinks[k]->Row(argb, [&png](const std::uint8_t* row) {
                                               return png.Row(row);
                                           });
                if (!written) {
                    files[k]->FailWriting(0, "the picture could not be written whole");
                }
            }
            return true;
        },
        problem, composed);
    bool all = true;
    for (std::size_t k = 0; k < pictures.size(); ++k) {
        PicturePng& picture = pictures[k];
        AtomicFile& file = *files[k];
        if (!picture.error.empty()) {
            all = false;
            continue;
        }
        if (!drawn) {
            file.Abandon();
            picture.error = problem;
            all = false;
            continue;
        }
        if (file.Failed() == AtomicFile::Failure::None && !pngs[k]->End()) {
            file.FailWriting(0, "the picture could not be written whole");
        }
        const AtomicFile::Check whole = [](const std::string& path) {
            return IncompleteReason(path, "png");
        };
        if (!(commit ? commit(file, whole) : file.Commit(whole))) {
            picture.error = "cannot write " + picture.png + ": " + file.Reason();
            all = false;
        }
    }
    return all;
}

bool RenderSheetPng(const std::string& svgPath, const std::string& pngPath, int widthPx,
                    std::string& error, bool drawnPartOnly) {
    std::vector<PicturePng> pictures{PicturePng{pngPath, widthPx, {}}};
    const bool rendered = RenderSheetPngs(svgPath, pictures, drawnPartOnly);
    error = pictures.front().error;
    return rendered;
}

bool RenderSheetPicture(const std::string& svgPath, int widthPx, bool drawnPartOnly,
                        SheetPicture& picture, std::string& error) {
    picture = SheetPicture{};
    return DrawPicture(
        svgPath, widthPx, drawnPartOnly,
        [&](int w, int h) {
            picture.width = w;
            picture.height = h;
            picture.pixels.reserve(static_cast<std::size_t>(w) * static_cast<std::size_t>(h));
        },
        [&](const std::uint32_t* argb) {
            // On white every pixel is opaque: its colour is what shows.
            for (int x = 0; x < picture.width; ++x) {
                picture.pixels.push_back(argb[x] & 0x00FFFFFFu);
            }
            return true;
        },
        error);
}

} // namespace kib
