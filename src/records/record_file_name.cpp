#include "records/record_file_name.h"

namespace {

const QString RecordFileExtension = QStringLiteral(".kdf");

} // namespace

QString SaveAsRecordFilePath(const QString &chosenPath)
{
    const qsizetype nameStart = chosenPath.lastIndexOf(u'/') + 1;
    QString name = chosenPath.mid(nameStart);
    name.remove(RecordFileExtension);
    return chosenPath.left(nameStart) + name + RecordFileExtension;
}
