#pragma once

#include <QString>
#include <QStringView>

#include <algorithm>
#include <array>
#include <cstddef>
#include <initializer_list>

// The calendar's name tables hold their texts as static UTF-16 literals.
// Wrapping one in a QString shares the literal instead of copying it, so
// handing out a name costs no allocation.
inline QString StaticText(QStringView literal)
{
    return QString::fromRawData(literal.data(), literal.size());
}

// Joins texts with one allocation and one copy of each part.
inline QString JoinTexts(std::initializer_list<QStringView> parts)
{
    qsizetype size = 0;
    for (QStringView part : parts)
        size += part.size();
    QString text(size, Qt::Uninitialized);
    QChar *end = text.data();
    for (QStringView part : parts)
        end = std::copy(part.begin(), part.end(), end);
    return text;
}

// A table of composed names built once and handed out like StaticText: the
// copies share the table's storage without counting references, which keeps
// describing a day free of atomic operations.
template <std::size_t Count>
class ComposedTexts {
public:
    template <typename Compose>
    explicit ComposedTexts(Compose compose)
    {
        for (std::size_t index = 0; index < Count; ++index) {
            storage_[index] = compose(int(index));
            texts_[index] = StaticText(storage_[index]);
        }
    }

    const QString &operator[](std::size_t index) const { return texts_[index]; }

private:
    std::array<QString, Count> storage_;
    std::array<QString, Count> texts_;
};
