#pragma once

#include <QString>

// The file a record file is saved as: every ".kdf" (exact case) is removed
// from the chosen file name and ".kdf" appended, so "a.kdf.kdf" becomes
// "a.kdf" and "b" becomes "b.kdf". Only the file name is changed: a folder
// whose name holds ".kdf" stays as it is, so the copy still lands in the
// folder the user chose.
QString SaveAsRecordFilePath(const QString &chosenPath);
