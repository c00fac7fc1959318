#pragma once

#include "shell/music_control.h"
#include "shell/music_player.h"
#include "shell/sound_effect.h"
#include "shell/sound_mp3_player.h"

#include <QDir>
#include <QStringList>

// Keeps the path of every effect it is asked to play.
class FakeEffects final : public EffectSound {
public:
    void PlayEffect(const QString &path) override { played << path; }
    QStringList played;
};

// Keeps what it is asked to do, as "open PATH", "play", "stop", "close".
class FakeMp3Player final : public Mp3Player {
public:
    bool Open(const QString &path) override
    {
        calls << QStringLiteral("open ") + path;
        return true;
    }
    void Play() override { calls << QStringLiteral("play"); }
    void Stop() override { calls << QStringLiteral("stop"); }
    void Close() override { calls << QStringLiteral("close"); }
    QStringList calls;
};

// Keeps what the music asks of a player, as "open PATH", "play", "close";
// PATH is relative to `folder` when one is set. `Finish` plays the end of
// a piece at once, where a real player would take the piece's length.
class FakeMusicPlayer final : public MusicPlayer {
public:
    bool Open(const QString &path) override
    {
        calls << QStringLiteral("open ") + (folder.isEmpty() ? path : QDir(folder).relativeFilePath(path));
        return true;
    }
    void Play() override { calls << QStringLiteral("play"); }
    void Close() override { calls << QStringLiteral("close"); }
    void Finish() { emit Finished(); }

    // The pieces opened and then played, in order.
    QStringList Started() const
    {
        QStringList pieces;
        for (qsizetype i = 0; i + 1 < calls.size(); ++i) {
            if (calls[i].startsWith(QStringLiteral("open ")) && calls[i + 1] == QStringLiteral("play"))
                pieces << calls[i].mid(5);
        }
        return pieces;
    }

    QString folder;
    QStringList calls;
};

// Keeps what the music shows on the window that carries its toggle.
class FakeMusicWindow final : public MusicWindow {
public:
    void ShowMusicMessage(const QString &text) override { messages << text; }
    void ShowMusicToggle(const MusicToggle &toggle) override { shown << toggle; }
    void ResetToIdleView() override { ++idleResets; }

    QStringList messages;
    QList<MusicToggle> shown;
    int idleResets = 0;
};
