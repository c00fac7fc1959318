#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

// The record and settings files are GBK text. They are read and written as
// GB18030, which is byte-identical to GBK for every GBK character: old files
// read unchanged, and a character outside GBK that a user types is kept
// instead of being lost. Invalid bytes decode to U+FFFD and never fail.
QString DecodeGbk(const QByteArray &bytes);
QByteArray EncodeGb18030(QStringView text);
// True when every character of `text` has a GBK encoding.
bool IsGbkEncodable(QStringView text);
