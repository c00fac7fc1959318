#pragma once

#include <QString>

#include <cstdint>
#include <vector>

struct Mix_Chunk;

// An MP3 player in the manner of the old media controls: every file opened
// is added to what plays next, so opening two files and playing once plays
// both, one after the other; closing forgets them.
class Mp3Player {
public:
    virtual ~Mp3Player() = default;
    // Adds the file; false (and nothing added) when it cannot be read.
    virtual bool Open(const QString &path) = 0;
    // Plays everything opened since the last close, from the start.
    virtual void Play() = 0;
    virtual void Stop() = 0;
    virtual void Close() = 0;
};

// Decodes each file into the mixer's format on opening and plays the joined
// sound on a mixer channel of its own, so several players sound together.
class SdlMp3Player final : public Mp3Player {
public:
    SdlMp3Player() = default;
    ~SdlMp3Player() override;
    SdlMp3Player(const SdlMp3Player &) = delete;
    SdlMp3Player &operator=(const SdlMp3Player &) = delete;

    bool Open(const QString &path) override;
    void Play() override;
    void Stop() override;
    void Close() override;

    bool IsPlaying() const;
    // Length of everything opened, in milliseconds.
    int DurationMs() const;

private:
    std::vector<std::uint8_t> samples_;
    Mix_Chunk *chunk_ = nullptr;
    int channel_ = -1;
};
