#include "core/changed_line_pictures.h"

namespace {

bool IsLineCharacter(QChar character)
{
    return character == u'1' || character == u'0';
}

QChar CharacterAt(QStringView lines, int index)
{
    return index < lines.size() ? lines[index] : QChar();
}

QString Code(QChar line, bool changing)
{
    if (!IsLineCharacter(line))
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
        const QChar primary = CharacterAt(primaryLines, i);
        const QChar resulting = CharacterAt(resultingLines, i);
        const bool changing =
            hasResulting && IsLineCharacter(primary) && IsLineCharacter(resulting) && primary != resulting;
        pictures.primary[i] = Code(primary, changing);
        if (hasResulting)
            pictures.resulting[i] = Code(resulting, changing);
    }
    return pictures;
}
