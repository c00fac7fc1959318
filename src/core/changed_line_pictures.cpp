#include "core/changed_line_pictures.h"

namespace {

bool isLineCharacter(QChar character)
{
    return character == u'1' || character == u'0';
}

QChar characterAt(QStringView lines, int index)
{
    return index < lines.size() ? lines[index] : QChar();
}

QString code(QChar line, bool changing)
{
    if (!isLineCharacter(line))
        return {};
    const QString single(line);
    return changing ? single + single : single;
}

} // namespace

ChangedLinePictures ChangedLinePicturesOf(QStringView primaryLines, QStringView resultingLines)
{
    ChangedLinePictures pictures;
    const bool hasResulting = !resultingLines.isEmpty();
    for (int i = 0; i < LinesPerHexagram; ++i) {
        const QChar primary = characterAt(primaryLines, i);
        const QChar resulting = characterAt(resultingLines, i);
        const bool changing =
            hasResulting && isLineCharacter(primary) && isLineCharacter(resulting) && primary != resulting;
        pictures.primary[i] = code(primary, changing);
        if (hasResulting)
            pictures.resulting[i] = code(resulting, changing);
    }
    return pictures;
}
