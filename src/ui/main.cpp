#include "core/cast_result.h"
#include "core/exit_sequence.h"
#include "shell/help_file.h"
#include "shell/music_control.h"
#include "shell/music_player.h"
#include "shell/program_folder.h"
#include "shell/settings.h"
#include "shell/single_instance.h"
#include "shell/sound_device.h"
#include "shell/sound_effect.h"
#include "shell/sound_mp3_player.h"
#include "ui/art/fonts.h"
#include "ui/art/program_icon_art.h"
#include "ui/widgets/freed_memory_release.h"
#include "ui/widgets/platform_choice.h"
#include "ui/windows/calendar_commands.h"
#include "ui/windows/cast_commands.h"
#include "ui/windows/dialog_service.h"
#include "ui/windows/help_viewer.h"
#include "ui/windows/main_window.h"
#include "ui/windows/manual_entry_window.h"
#include "ui/windows/options_window.h"
#include "ui/windows/print_layout.h"
#include "ui/windows/product_info.h"
#include "ui/windows/record_browser_window.h"
#include "ui/windows/splash_window.h"
#include "ui/windows/translation_viewer.h"
#include "ui/windows/trigram_reference.h"

#include <QApplication>
#include <QDesktopServices>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <memory>

namespace {

// Qt's own Chinese translation gives the standard buttons of message and
// input boxes their Chinese captions (是/否/确定/取消).
void InstallQtTranslation(QApplication &app, QTranslator &translator)
{
    if (translator.load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qtbase"), QStringLiteral("_"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        app.installTranslator(&translator);
}

// A damaged help file opens nothing, as a missing one does, and is warned
// of in the same words.
void WarnWhenHelpIsUnreadable(DialogService &dialogs, QWidget *splash)
{
    if (!IsReadableHelpFile(HelpFilePath()))
        dialogs.ShowMessage(splash,
                            QStringLiteral("找不到帮助文件。请确认软件完整性或尝试重新建立程序的快捷方式。"),
                            ProgramTitle(), DialogService::Icon::None);
}

} // namespace

int main(int argc, char *argv[])
{
    // The names place the instance lock and the per-user data folder. A
    // second copy ends here, before it opens a window or touches a file.
    QCoreApplication::setOrganizationName(QStringLiteral("Ravezaz"));
    QCoreApplication::setApplicationName(QStringLiteral("Ravezaz"));
    const SingleInstance instance(InstanceLockPath());
    if (!instance.IsFirst())
        return 0;
    // Loads the sound library and opens the device while the splash's bar
    // fills; nothing plays before the splash has finished.
    BackgroundSoundDevice soundDevice;

    PreferX11Platform();
    QApplication app(argc, argv);
    ForgetPlatformPreference();
    // Lets desktops match the window to the installed desktop entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral(RAVEZAZ_APP_ID));
    QApplication::setWindowIcon(ProgramIcon(QStringLiteral(RAVEZAZ_APP_ID)));

    FreedMemoryRelease freedMemoryRelease;
    app.installEventFilter(&freedMemoryRelease);
    QTranslator qtTranslation;
    InstallQtTranslation(app, qtTranslation);
    QApplication::setFont(SansFont(12));

    const QString programFolder = ProgramFolder();
    SdlEffectSound effects([] { QApplication::beep(); });
    SdlMusicPlayer backgroundPlayer;
    SdlMusicPlayer festivalPlayer;
    SdlMp3Player effectPlayer;
    SdlMp3Player aboutPlayer;
    WidgetDialogService dialogs;
    WidgetRecordFileDialogs recordFileDialogs;
    SystemPrinters printers;

    const auto now = [] { return QDateTime::currentDateTime(); };
    const auto openHelpTopic = [](QWidget *owner, int topic) { OpenHelpTopic(owner, topic); };
    MainWindowServices services;
    services.dialogs = &dialogs;
    services.effects = &effects;
    services.effectPlayer = &effectPlayer;
    services.aboutPlayer = &aboutPlayer;
    services.openHelp = [](QWidget *owner) { OpenHelpDefault(owner); };
    services.openWebPage = [programFolder] { QDesktopServices::openUrl(ProductWebPage(programFolder)); };
    services.now = now;
    services.random = UniformRandom;
    services.programFolder = programFolder;

    // The options and the cast in hand (the last cast made, entered or
    // recalled) live as long as the program.
    Settings settings;
    CastResult castInHand;

    // A settings file that cannot be written is told of; the program ends
    // all the same.
    ExitSequence exitSequence(
        [&] {
            const SettingsWrite written = WriteSettings(SettingsFilePath(), settings);
            if (!written.written)
                dialogs.ShowMessage(nullptr, QStringLiteral("设置文件无法保存：") + written.failure, ProgramTitle(),
                                    DialogService::Icon::Warning);
        },
        [] { QCoreApplication::exit(0); });

    SplashWindow splash(VersionText(), CachedSplashPicture(VersionText()));
    std::unique_ptr<MainWindow> window;
    std::unique_ptr<MusicControl> music;
    QObject::connect(&splash, &SplashWindow::Finished, [&] {
        soundDevice.WaitUntilOpen();
        WarnWhenHelpIsUnreadable(dialogs, &splash);
        ReadSettings(SettingsFilePath(), settings);
        window = std::make_unique<MainWindow>(services, settings);
        FestivalTunes &tunes = window->Tunes();
        music = std::make_unique<MusicControl>(MusicRecords{settings.musicState, tunes.gregorian, tunes.lunar},
                                               backgroundPlayer, festivalPlayer, *window, programFolder);
        window->AttachMusic(music.get());
        QObject::connect(window.get(), &MainWindow::ExitRequested, &exitSequence, &ExitSequence::Start);
        const CastingWindowServices casting{&dialogs, &effects, programFolder, SystemRandomSource(), now,
                                            RecordFilePath()};
        ConnectCastCommands(*window, {casting, &settings, &castInHand, openHelpTopic});
        ConnectManualEntryCommand(*window, {&dialogs, &effects, programFolder, now, RecordFilePath(), openHelpTopic},
                                  settings, castInHand);
        ConnectRecordBrowserCommand(*window, {&dialogs, &recordFileDialogs, &effects, programFolder, RecordFilePath()},
                                    castInHand);
        const ReferenceWindowServices reference{&effects, programFolder, openHelpTopic};
        ConnectTranslationCommands(*window, reference, castInHand);
        ConnectTrigramCommand(*window, reference);
        ConnectPrintCommand(*window, {&effects, programFolder, &settings, {&dialogs, &printers}});
        ConnectOptionsCommand(*window, *music, settings,
                              {&dialogs, &effects, programFolder, services.openWebPage, StartSystemTool});
        ConnectCalendarCommands(*window, settings);
        window->Load([&splash] { splash.close(); });
    });
    QObject::connect(&splash, &SplashWindow::Shown, [&soundDevice] { soundDevice.Start(); });
    splash.show();
    splash.Start();
    return app.exec();
}
