#include "fileformat/gbk_codec.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace {

constexpr const char *fileEncoding = "GB18030";

// GB18030 writes a character outside GBK as a four-byte sequence; GBK itself
// has only one- and two-byte characters.
bool IsFourByteSequence(const QByteArray &bytes, qsizetype at)
{
    return at + 1 < bytes.size() && static_cast<unsigned char>(bytes[at]) >= 0x81
        && static_cast<unsigned char>(bytes[at + 1]) >= 0x30
        && static_cast<unsigned char>(bytes[at + 1]) <= 0x39;
}

} // namespace

QString DecodeGbk(const QByteArray &bytes)
{
    // The decoder holds back a multi-byte sequence cut off at the end of its
    // input, waiting for more; a line feed, which continues no sequence, makes
    // it give that sequence out as invalid instead of dropping it. Opening a
    // converter costs more than decoding a record line, so each thread keeps
    // one.
    thread_local QStringDecoder decoder(fileEncoding);
    decoder.resetState();
    QString text = decoder.decode(bytes + '\n');
    text.chop(1);
    return text;
}

QByteArray EncodeGb18030(QStringView text)
{
    QStringEncoder encoder(fileEncoding);
    return encoder.encode(text);
}

bool IsGbkEncodable(QStringView text)
{
    QStringEncoder encoder(fileEncoding);
    const QByteArray bytes = encoder.encode(text);
    if (encoder.hasError())
        return false;
    for (qsizetype at = 0; at < bytes.size();) {
        const auto lead = static_cast<unsigned char>(bytes[at]);
        if (lead < 0x80) {
            ++at;
            continue;
        }
        if (IsFourByteSequence(bytes, at))
            return false;
        at += 2;
    }
    return true;
}
