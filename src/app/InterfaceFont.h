#pragma once
// The window's fonts: the desktop's interface font, and Calibri for the tree where it is installed.

#include <QFont>

namespace pyxa {

QFont InterfaceFont();

// Calibri two points larger, when it is installed and the font is not Calibri already.
QFont PreferCalibri(const QFont& font);

}  // namespace pyxa
