// The icons of the menu commands and toolbar buttons.
#pragma once

#include <QIcon>

class QStyle;

namespace kib::gui {

QIcon CommandIcon(int commandId, const QStyle* style);

} // namespace kib::gui
