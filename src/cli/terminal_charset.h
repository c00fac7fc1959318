#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <string>
#include <string_view>

// The character set of the user's locale: arguments arrive in it and text
// meant for the terminal is written in it. Qt itself assumes UTF-8, which a
// GB18030 terminal shows as garbage and whose arguments it cannot read.
class TerminalCharset {
public:
    // The set named by nl_langinfo(CODESET) once setlocale(LC_ALL, "") has
    // run. Plain ASCII (the C locale) and a set Qt cannot convert are taken
    // as UTF-8, Qt's own assumption, so nothing that worked before is lost.
    static TerminalCharset OfLocale();
    // The set of that name; empty, "UTF-8" or an unknown name give UTF-8.
    explicit TerminalCharset(const QByteArray &codeset);

    bool IsUtf8() const { return name_.isEmpty(); }
    QString Decode(const char *bytes) const;
    // Appends `utf8`, which holds whole characters, in this set.
    void AppendEncoded(std::string &out, std::string_view utf8) const;

private:
    QByteArray name_; // empty for UTF-8
};
