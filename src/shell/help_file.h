#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>

// The context map of a compiled help file. "#IVB" holds a 32-bit byte count
// followed by pairs of 32-bit values (context number, offset into
// "#STRINGS"); "#STRINGS" holds the topic paths, each ended by a NUL. Pairs
// beyond the data, offsets outside "#STRINGS" and unended paths are dropped.
QHash<int, QString> ParseContextMap(const QByteArray &ivb, const QByteArray &strings);

// The default topic named in "#SYSTEM" (record code 2), or empty.
QString ParseDefaultTopic(const QByteArray &system);

// True when `bytes` are a topic page: UTF-8 text without control characters
// other than white space, holding both the start and the end of an HTML
// document. Binary garbage and a page cut short are not.
bool IsHtmlPage(const QByteArray &bytes);

// True when the help file at `path` reads whole (HelpFile::Read gives
// something): a damaged file counts as a missing one.
bool IsReadableHelpFile(const QString &path);

// The entries of a compiled help file (CHM), read completely when the file is
// opened so that no file handle stays open while a topic is shown.
class HelpFile {
public:
    HelpFile() = default;
    // A help file made of these entries, keyed by path ("/index.htm", "/#IVB").
    explicit HelpFile(QHash<QString, QByteArray> entries);

    // Reads the CHM at `path`. A missing or damaged file, one with a page
    // that is no HTML text or without its default topic, gives an empty
    // HelpFile.
    static HelpFile Read(const QString &path);

    bool IsEmpty() const;
    QStringList EntryPaths() const;
    bool Contains(const QString &entryPath) const;
    // The bytes of an entry; empty when there is none.
    QByteArray Entry(const QString &entryPath) const;

    // The entry path of the default topic and of a context number, followed
    // by its "#anchor" when the map names one; empty when the file has none.
    QString DefaultTopic() const;
    QString Topic(int contextNumber) const;

private:
    QString EntryPathNamedBy(QString writtenPath) const;
    // True when every HTML page is one (IsHtmlPage) and the default topic is there.
    bool PagesAreWhole() const;

    QHash<QString, QByteArray> entries_;
    QHash<int, QString> contextMap_;
    QString defaultTopic_;
};
