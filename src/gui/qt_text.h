// Conversions at the window-system boundary: the core's byte strings are shown
// through the text codec (valid UTF-8 as it is, anything else from the 8-bit
// code page); what the user types goes back to the core as UTF-8.
#pragma once

#include "foundation/text_codec.h"

#include <QColor>
#include <QString>

#include <string>

namespace kib::gui {

inline QString ToQt(const std::string& bytes) {
    return QString::fromStdString(ToUtf8(bytes));
}

inline std::string FromQt(const QString& text) {
    return text.toStdString();
}

// A colour of the core: red + 256 * green + 65536 * blue.
inline QColor ToQColor(int colour) {
    return QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
}

inline int FromQColor(const QColor& c) {
    return c.red() + 256 * c.green() + 65536 * c.blue();
}

} // namespace kib::gui
