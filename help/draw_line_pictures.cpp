// Draws the line pictures of the help pages. Each name given, such as
// "lines-797797.png", becomes one PNG in the output folder. Every digit of the
// name is one line, bottom line first: 7 a yang line, 8 a yin line, 9 and 6
// the red yang and yin lines that take part in a change, as the program's
// main window draws them.
#include <QColor>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QRegularExpression>

#include <array>
#include <cstdio>
#include <optional>

namespace {

struct LineStyle {
    char digit;
    bool yang;
    QRgb colour;
};

constexpr QRgb Black = qRgb(0x2a, 0x26, 0x22);
constexpr QRgb Red = qRgb(0xc8, 0x10, 0x2e);

constexpr std::array LineStyles{
    LineStyle{'7', true, Black},
    LineStyle{'8', false, Black},
    LineStyle{'9', true, Red},
    LineStyle{'6', false, Red},
};

constexpr int LineWidth = 96;
constexpr int LineHeight = 10;
constexpr int LineSpacing = 8;
constexpr int YinGap = 16;
constexpr int Margin = 2;

std::optional<LineStyle> StyleOf(QChar digit)
{
    for (const LineStyle &style : LineStyles)
        if (digit == QLatin1Char(style.digit))
            return style;
    return std::nullopt;
}

std::optional<QImage> Draw(const QString &digits)
{
    const int count = int(digits.size());
    QImage image(LineWidth + 2 * Margin, count * LineHeight + (count - 1) * LineSpacing + 2 * Margin,
                 QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    for (int line = 0; line < count; ++line) {
        const std::optional<LineStyle> style = StyleOf(digits[line]);
        if (!style)
            return std::nullopt;
        // Line 1 lies at the bottom of the picture.
        const int top = Margin + (count - 1 - line) * (LineHeight + LineSpacing);
        const QColor colour = QColor::fromRgb(style->colour);
        if (style->yang) {
            painter.fillRect(Margin, top, LineWidth, LineHeight, colour);
        } else {
            const int half = (LineWidth - YinGap) / 2;
            painter.fillRect(Margin, top, half, LineHeight, colour);
            painter.fillRect(Margin + LineWidth - half, top, half, LineHeight, colour);
        }
    }
    return image;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc < 2) {
        std::fputs("usage: draw_line_pictures FOLDER lines-DIGITS.png...\n", stderr);
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(folder);
    static const QRegularExpression nameForm(QStringLiteral("^lines-([0-9]{1,6})\\.png$"));
    for (int i = 2; i < argc; ++i) {
        const QString name = QString::fromLocal8Bit(argv[i]);
        const QRegularExpressionMatch match = nameForm.match(name);
        const std::optional<QImage> picture = match.hasMatch() ? Draw(match.captured(1)) : std::nullopt;
        if (!picture || !picture->save(folder + u'/' + name)) {
            std::fprintf(stderr, "draw_line_pictures: cannot draw %s\n", argv[i]);
            return 1;
        }
    }
    return 0;
}
