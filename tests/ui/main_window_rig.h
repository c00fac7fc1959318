#pragma once

#include "shell/music_control.h"
#include "shell/settings.h"
#include "support/fake_dialogs.h"
#include "support/fake_sound.h"
#include "support/require_child.h"
#include "ui/windows/main_window.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

// A clock interval for tests that change the day: the main window sees the
// new day at once, not up to a second later.
constexpr int QuickClockIntervalMs = 20;

// A main window over fakes, in a temporary program folder with one
// background piece, at a clock the test sets and that the window reads
// every `clockIntervalMs`.
struct MainWindowRig {
    explicit MainWindowRig(const QDateTime &start = QDateTime(QDate(2006, 7, 16), QTime(14, 5, 9)),
                           int clockIntervalMs = MainWindowServices().clockIntervalMs)
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
        services.clockIntervalMs = clockIntervalMs;
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
        return RequireChild<T>(*window, name);
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

