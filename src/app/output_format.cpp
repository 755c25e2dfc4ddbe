#include "app/output_format.h"

namespace kib {

namespace {

struct FormatInfo {
    OutputFormat format;
    const char* extension;
    bool raster;
};

constexpr FormatInfo kFormats[] = {
    {OutputFormat::Pdf, "pdf", false},
    {OutputFormat::Ps, "ps", false},
    {OutputFormat::Eps, "eps", false},
    {OutputFormat::Png, "png", true},
};

const FormatInfo* FindFormat(OutputFormat format) {
    for (const FormatInfo& info : kFormats) {
        if (info.format == format) {
            return &info;
        }
    }
    return nullptr;
}

} // namespace

const char* OutputFormatExtension(OutputFormat format) {
    const FormatInfo* info = FindFormat(format);
    return info ? info->extension : nullptr;
}

bool IsRasterFormat(OutputFormat format) {
    const FormatInfo* info = FindFormat(format);
    return info && info->raster;
}

OutputFormat OutputFormatOfExtension(const std::string& extension) {
    for (const FormatInfo& info : kFormats) {
        if (extension == info.extension) {
            return info.format;
        }
    }
    return OutputFormat::None;
}

} // namespace kib
