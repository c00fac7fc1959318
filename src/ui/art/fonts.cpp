#include "ui/art/fonts.h"

namespace {

QFont NamedFont(const QString &family, int pixelSize, QFont::Weight weight)
{
    QFont font(family);
    font.setPixelSize(pixelSize);
    font.setWeight(weight);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

} // namespace

QFont SerifFont(int pixelSize, QFont::Weight weight)
{
    return NamedFont(QStringLiteral("Noto Serif CJK SC"), pixelSize, weight);
}

QFont SansFont(int pixelSize, QFont::Weight weight)
{
    return NamedFont(QStringLiteral("Noto Sans CJK SC"), pixelSize, weight);
}
