#include "cli/terminal_charset.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <langinfo.h>

namespace {

bool NamesUtf8(const QByteArray &codeset)
{
    // glibc names plain ASCII "ANSI_X3.4-1968"; UTF-8 reads it unchanged.
    return codeset.isEmpty() || codeset.compare("UTF-8", Qt::CaseInsensitive) == 0
        || codeset.compare("UTF8", Qt::CaseInsensitive) == 0 || codeset == "ANSI_X3.4-1968"
        || codeset.compare("ASCII", Qt::CaseInsensitive) == 0;
}

} // namespace

TerminalCharset TerminalCharset::OfLocale()
{
    return TerminalCharset(QByteArray(nl_langinfo(CODESET)));
}

TerminalCharset::TerminalCharset(const QByteArray &codeset)
{
    if (!NamesUtf8(codeset) && QStringEncoder(codeset.constData()).isValid())
        name_ = codeset;
}

QString TerminalCharset::Decode(const char *bytes) const
{
    if (IsUtf8())
        return QString::fromUtf8(bytes);
    QStringDecoder decoder(name_.constData());
    return decoder.decode(QByteArrayView(bytes));
}

void TerminalCharset::AppendEncoded(std::string &out, std::string_view utf8) const
{
    if (IsUtf8()) {
        out += utf8;
        return;
    }
    QStringEncoder encoder(name_.constData());
    const QByteArray bytes = encoder.encode(QString::fromUtf8(utf8.data(), qsizetype(utf8.size())));
    out.append(bytes.constData(), std::size_t(bytes.size()));
}
