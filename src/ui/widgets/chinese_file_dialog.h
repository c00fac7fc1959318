#pragma once

#include <QFileDialog>

#include <memory>

// A file dialog that speaks Chinese throughout, whatever the desktop's
// language. It is Qt's own dialog, not the desktop's, whose language follows
// the system; Qt's Chinese catalogue translates its captions, and the two
// columns that no catalogue covers are written here: sizes ("300 字节"),
// types ("文件夹", "KDF 文件") and dates in the Chinese form
// (2026/12/10 21:05). It opens in `folder`.
std::unique_ptr<QFileDialog> MakeChineseFileDialog(QWidget *parent, const QString &title, const QString &folder);
