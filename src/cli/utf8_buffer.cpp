#include "cli/utf8_buffer.h"

#include <QChar>

#include <algorithm>
#include <cstring>

Utf8Buffer::Utf8Buffer(std::size_t capacity)
    : data_(new char[capacity])
    , capacity_(capacity)
{
}

void Utf8Buffer::Grow(std::size_t needed)
{
    const std::size_t capacity = std::max(needed, 2 * capacity_);
    std::unique_ptr<char[]> data(new char[capacity]);
    std::memcpy(data.get(), data_.get(), size_);
    data_ = std::move(data);
    capacity_ = capacity;
}

// At most three bytes per UTF-16 unit. The texts are mostly Chinese, so the
// three-byte form is tested first.
Utf8Buffer &Utf8Buffer::operator+=(QStringView text)
{
    char *const start = Room(3 * std::size_t(text.size()));
    char *end = start;
    const char16_t *unit = text.utf16();
    const char16_t *const last = unit + text.size();
    for (; unit != last; ++unit) {
        const char32_t c = *unit;
        if (c >= 0x800 && (c < 0xD800 || c > 0xDFFF)) {
            end[0] = char(0xE0 | (c >> 12));
            end[1] = char(0x80 | ((c >> 6) & 0x3F));
            end[2] = char(0x80 | (c & 0x3F));
            end += 3;
        } else if (c < 0x80) {
            *end++ = char(c);
        } else if (c < 0x800) {
            end[0] = char(0xC0 | (c >> 6));
            end[1] = char(0x80 | (c & 0x3F));
            end += 2;
        } else if (QChar::isHighSurrogate(c) && unit + 1 != last && QChar::isLowSurrogate(unit[1])) {
            const char32_t code = QChar::surrogateToUcs4(char16_t(c), *++unit);
            end[0] = char(0xF0 | (code >> 18));
            end[1] = char(0x80 | ((code >> 12) & 0x3F));
            end[2] = char(0x80 | ((code >> 6) & 0x3F));
            end[3] = char(0x80 | (code & 0x3F));
            end += 4;
        } else {
            end[0] = char(0xEF);
            end[1] = char(0xBF);
            end[2] = char(0xBD);
            end += 3;
        }
    }
    size_ += std::size_t(end - start);
    return *this;
}

void Utf8Buffer::AppendNumber(int value, int minimumDigits)
{
    char digits[12];
    char *const stop = digits + sizeof digits;
    char *first = stop;
    unsigned magnitude = value < 0 ? 0u - unsigned(value) : unsigned(value);
    do {
        *--first = char('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0 || stop - first < minimumDigits);
    if (value < 0)
        *--first = '-';
    *this += std::string_view(first, std::size_t(stop - first));
}
