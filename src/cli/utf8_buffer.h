#pragma once

#include <QStringView>

#include <cstddef>
#include <cstring>
#include <memory>
#include <string_view>

// A growing buffer of UTF-8 text. Text is written straight into room made
// beforehand, without clearing that room first: over the almanac's 73,000
// days, building rows through QString or std::string costs more than
// describing the days.
class Utf8Buffer {
public:
    explicit Utf8Buffer(std::size_t capacity = 1 << 12);

    std::string_view View() const { return {data_.get(), size_}; }
    std::size_t Size() const { return size_; }
    bool IsEmpty() const { return size_ == 0; }
    void Clear() { size_ = 0; }

    Utf8Buffer &operator+=(char character)
    {
        *Room(1) = character;
        ++size_;
        return *this;
    }
    // Inline, so that a copy of a few bytes known at compile time is a move.
    Utf8Buffer &operator+=(std::string_view bytes)
    {
        std::memcpy(Room(bytes.size()), bytes.data(), bytes.size());
        size_ += bytes.size();
        return *this;
    }
    // A lone surrogate becomes U+FFFD.
    Utf8Buffer &operator+=(QStringView text);
    // Decimal digits of a whole number, at least `minimumDigits` of them.
    void AppendNumber(int value, int minimumDigits = 1);

private:
    // Room for `bytes` more bytes after the text.
    char *Room(std::size_t bytes)
    {
        if (size_ + bytes > capacity_)
            Grow(size_ + bytes);
        return data_.get() + size_;
    }
    void Grow(std::size_t needed);

    std::unique_ptr<char[]> data_;
    std::size_t capacity_;
    std::size_t size_ = 0;
};
