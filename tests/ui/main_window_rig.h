#pragma once

#include "ui/windows/dialog_service.h"
#include "ui/windows/main_window.h"
#include "shell/music_control.h"
#include "shell/music_player.h"
#include "shell/settings.h"
#include "shell/sound_effect.h"
#include "shell/sound_mp3_player.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <deque>
#include <functional>
#include <memory>

// Records every box; Yes/No questions take their answers from a queue
// (No when it is empty).
class FakeDialogs final : public DialogService {
public:
    struct Box {
        QString text;
        QString title;
        Icon icon;
        bool yesIsDefault;
    };

    void ShowMessage(QWidget *, const QString &text, const QString &title, Icon icon) override
    {
        boxes.push_back({text, title, icon, false});
    }
    bool AskYesNo(QWidget *, const QString &text, const QString &title, bool yesIsDefault) override
    {
        boxes.push_back({text, title, Icon::Question, yesIsDefault});
        if (answers.empty())
            return false;
        const bool answer = answers.front();
        answers.pop_front();
        return answer;
    }
    std::optional<QString> AskText(QWidget *, const QString &prompt, const QString &title, const QString &) override
    {
        boxes.push_back({prompt, title, Icon::None, false});
        return std::nullopt;
    }

    std::vector<Box> boxes;
    std::deque<bool> answers;
};

class FakeEffects final : public EffectSound {
public:
    void PlayEffect(const QString &path) override { played << path; }
    QStringList played;
};

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

class FakeMusicPlayer final : public MusicPlayer {
public:
    bool Open(const QString &path) override
    {
        calls << QStringLiteral("open ") + path;
        return true;
    }
    void Play() override { calls << QStringLiteral("play"); }
    void Close() override { calls << QStringLiteral("close"); }
    QStringList calls;
};

// A main window over fakes, in a temporary program folder with one
// background piece, at a clock the test sets.
struct MainWindowRig {
    explicit MainWindowRig(const QDateTime &start = QDateTime(QDate(2006, 7, 16), QTime(14, 5, 9)))
        : now(start)
    {
        QDir(folder.path()).mkpath(QStringLiteral("mid"));
        QFile piece(folder.path() + QStringLiteral("/mid/piece.mid"));
        piece.open(QIODevice::WriteOnly);

        MainWindowServices services;
        services.dialogs = &dialogs;
        services.effects = &effects;
        services.effectPlayer = &effectPlayer;
        services.aboutPlayer = &aboutPlayer;
        services.openHelp = [this](QWidget *owner) { helpOwners << owner; };
        services.openWebPage = [this] { ++webPagesOpened; };
        services.now = [this] { return now; };
        services.random = [this] { return nextRandom; };
        services.programFolder = folder.path();
        window = std::make_unique<MainWindow>(services, settings);
        FestivalTunes &tunes = window->Tunes();
        music = std::make_unique<MusicControl>(MusicRecords{settings.musicState, tunes.gregorian, tunes.lunar},
                                               backgroundPlayer, festivalPlayer, *window, folder.path(),
                                               [] { return 0.0; });
        window->AttachMusic(music.get());
    }

    ~MainWindowRig()
    {
        music.reset();
        window.reset();
    }

    void Load()
    {
        window->Load([this] { ++splashCloses; });
    }

    template <typename T = QWidget>
    T *Control(const QString &name) const
    {
        return window->findChild<T *>(name);
    }

    QString ClickSound() const { return folder.path() + QStringLiteral("/wav/s1.wav"); }

    QTemporaryDir folder;
    QDateTime now;
    double nextRandom = 0.0;
    Settings settings;
    FakeDialogs dialogs;
    FakeEffects effects;
    FakeMp3Player effectPlayer;
    FakeMp3Player aboutPlayer;
    FakeMusicPlayer backgroundPlayer;
    FakeMusicPlayer festivalPlayer;
    QList<QWidget *> helpOwners;
    int webPagesOpened = 0;
    int splashCloses = 0;
    std::unique_ptr<MainWindow> window;
    std::unique_ptr<MusicControl> music;
};

// Runs `check` on the modal window as soon as it shows, then closes it with
// F12 as a user would.
inline void WhenModalShows(const std::function<void(QWidget *)> &check)
{
    auto *poll = new QTimer;
    poll->setInterval(10);
    QObject::connect(poll, &QTimer::timeout, [poll, check] {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal)
            return;
        poll->stop();
        poll->deleteLater();
        check(modal);
        QTest::keyRelease(modal, Qt::Key_F12);
    });
    poll->start();
}
