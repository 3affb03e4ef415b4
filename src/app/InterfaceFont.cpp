#include "InterfaceFont.h"

#include <QFontDatabase>

namespace pyxa {

namespace {

constexpr const char* kCalibri = "Calibri";

}  // namespace

QFont InterfaceFont()
{
    return QFontDatabase::systemFont(QFontDatabase::GeneralFont);
}

QFont PreferCalibri(const QFont& font)
{
    if (font.family().compare(kCalibri, Qt::CaseInsensitive) == 0 || !QFontDatabase::hasFamily(kCalibri))
        return font;
    QFont calibri = font;
    calibri.setFamily(kCalibri);
    if (font.pointSizeF() > 0)
        calibri.setPointSizeF(font.pointSizeF() + 2);
    return calibri;
}

}  // namespace pyxa
