#include "core/resolution.h"
#include "main_window_rig.h"
#include "support/modal_watch.h"
#include "support/require_child.h"
#include "ui/widgets/music_toggle_box.h"
#include "ui/windows/child_window_guard.h"
#include "ui/windows/options_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <functional>
#include <map>

namespace {

CastResolution CastOfQian()
{
    CastResolution cast;
    cast.primary = {QStringLiteral("1"), QStringLiteral("乾"), QStringLiteral("111111"), QStringLiteral("乾：元亨利贞。"),
                    {QStringLiteral("1"), QStringLiteral("1"), QStringLiteral("1"), QStringLiteral("1"),
                     QStringLiteral("1"), QStringLiteral("1")}};
    cast.resulting = cast.primary;
    cast.ruleText = QStringLiteral("凡卦六爻皆不变,则占本卦彖辞,而以内卦为贞,外卦为悔。");
    cast.castTime = QStringLiteral("2006-7-16 14:05:09");
    cast.divinerName = QStringLiteral("某官");
    cast.matterText = QStringLiteral("出行");
    return cast;
}

// An options window over a loaded main window and fakes.
struct OptionsRig {
    explicit OptionsRig(const Settings &initial = {}, bool showCast = false)
    {
        main.settings = initial;
        main.Load();
        if (showCast)
            main.window->ShowCastView(CastOfQian());
        services.dialogs = &main.dialogs;
        services.effects = &main.effects;
        services.programFolder = main.folder.path();
        services.openWebPage = [this] { ++webPagesOpened; };
        services.startSystemTool = [this](SystemTool tool) {
            toolsAsked.push_back(tool);
            return toolsStart;
        };
        target = std::make_unique<MainWindowOptionsTarget>(*main.window, *main.music);
        main.effects.played.clear();
        settingsAtOpening = main.settings;
        window = std::make_unique<OptionsWindow>(services, main.settings, *target, [this] { ++guardEnds; }, nullptr);
    }

    template <typename T = QWidget>
    T *Control(const QString &name) const
    {
        return RequireChild<T>(*window, name);
    }
    template <typename T = QWidget>
    T *MainControl(const QString &name) const
    {
        return RequireChild<T>(*main.window, name, Qt::FindDirectChildrenOnly);
    }
    bool MainShows(const QString &name) const { return MainControl(name)->isVisibleTo(main.window.get()); }
    QCheckBox *Box(const char *name) const { return Control<QCheckBox>(QString::fromLatin1(name)); }
    QString Sound(const char *name) const
    {
        return main.folder.path() + QStringLiteral("/wav/") + QString::fromLatin1(name);
    }

    // A quick clock: the day change a reload starts comes on the next tick.
    MainWindowRig main{QDateTime(QDate(2006, 7, 16), QTime(14, 5, 9)), QuickClockIntervalMs};
    OptionsServices services;
    std::unique_ptr<MainWindowOptionsTarget> target;
    std::unique_ptr<OptionsWindow> window;
    Settings settingsAtOpening;
    int webPagesOpened = 0;
    std::vector<SystemTool> toolsAsked;
    bool toolsStart = true;
    int guardEnds = 0;
};

Settings SettingsWith(std::optional<bool> quotes, std::optional<bool> translation, std::optional<bool> tips)
{
    Settings settings;
    settings.musicState = MusicState::Background;
    settings.showQuotes = quotes;
    settings.printTranslation = translation;
    settings.todayTips = tips;
    return settings;
}

} // namespace

class OptionsWindowTest : public QObject {
    Q_OBJECT

private slots:
    void opensShowingTheCurrentOptions_data()
    {
        QTest::addColumn<Settings>("settings");
        QTest::addColumn<bool>("quotes");
        QTest::addColumn<bool>("translation");
        QTest::addColumn<bool>("tips");
        QTest::newRow("never set") << SettingsWith({}, {}, {}) << true << false << true;
        QTest::newRow("all switched") << SettingsWith(false, true, false) << false << true << false;
        QTest::newRow("stored defaults") << SettingsWith(true, false, true) << true << false << true;
    }

    void opensShowingTheCurrentOptions()
    {
        QFETCH(Settings, settings);
        QFETCH(bool, quotes);
        QFETCH(bool, translation);
        QFETCH(bool, tips);
        OptionsRig rig(settings);
        QCOMPARE(rig.window->objectName(), QStringLiteral("options_window"));
        QCOMPARE(rig.window->windowTitle(), QStringLiteral("功能选项"));
        QCOMPARE(rig.Box("quotes_box")->isChecked(), quotes);
        QCOMPARE(rig.Box("print_translation_box")->isChecked(), translation);
        QCOMPARE(rig.Box("today_tips_box")->isChecked(), tips);
        QCOMPARE(rig.Box("quotes_box")->text(), QStringLiteral("显示周易名言"));
        QCOMPARE(rig.Box("print_translation_box")->text(), QStringLiteral("打印时打印译文"));
        QCOMPARE(rig.Box("today_tips_box")->text(), QStringLiteral("今日提示功能"));

        auto *music = rig.Control<MusicToggleBox>(QStringLiteral("music_box"));
        auto *mainMusic = rig.MainControl<MusicToggleBox>(QStringLiteral("music_toggle"));
        QCOMPARE(music->Value(), mainMusic->Value());
        QCOMPARE(music->text(), mainMusic->text());
        QCOMPARE(music->toolTip(), mainMusic->toolTip());

        // Opening only shows: nothing stored changes and only the window's
        // own sound plays.
        QCOMPARE(rig.main.settings, rig.settingsAtOpening);
        QCOMPARE(rig.main.effects.played, QStringList{rig.Sound("option.wav")});
    }

    void openingAndClosingChangesNothing()
    {
        OptionsRig rig(SettingsWith(false, true, {}), true);
        const int musicValue = rig.MainControl<MusicToggleBox>(QStringLiteral("music_toggle"))->Value();
        rig.window->show();
        QTest::keyRelease(rig.window.get(), Qt::Key_F12);
        QVERIFY(!rig.window->isVisible());
        QCOMPARE(rig.main.settings, rig.settingsAtOpening);
        QCOMPARE(rig.MainControl<MusicToggleBox>(QStringLiteral("music_toggle"))->Value(), musicValue);
        QVERIFY(rig.MainShows(QStringLiteral("primary_hexagram_frame")));
        QVERIFY(!rig.MainShows(QStringLiteral("saying_label")));
        QCOMPARE(rig.guardEnds, 1);
    }

    void boxesSetTheirOption_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QList<bool>>("valuesAfterClicks");
        QTest::newRow("translation, off then on") << "print_translation_box" << QList<bool>{false, true};
        QTest::newRow("tips, off then on") << "today_tips_box" << QList<bool>{false, true};
        QTest::newRow("quotes, off then on") << "quotes_box" << QList<bool>{false, true};
    }

    void boxesSetTheirOption()
    {
        QFETCH(QString, box);
        QFETCH(QList<bool>, valuesAfterClicks);
        OptionsRig rig(SettingsWith({}, true, {}));
        rig.main.effects.played.clear();
        const std::map<QString, std::optional<bool> Settings::*> fields{
            {QStringLiteral("quotes_box"), &Settings::showQuotes},
            {QStringLiteral("print_translation_box"), &Settings::printTranslation},
            {QStringLiteral("today_tips_box"), &Settings::todayTips},
        };
        for (const bool expected : valuesAfterClicks) {
            QTest::mouseClick(rig.Box(qPrintable(box)), Qt::LeftButton);
            QCOMPARE(rig.main.settings.*fields.at(box), expected);
        }
        QCOMPARE(rig.main.effects.played, (QStringList{rig.Sound("s1.wav"), rig.Sound("s1.wav")}));
    }

    void quotesOnWhileACastIsShownHidesTheCast()
    {
        OptionsRig rig(SettingsWith(false, {}, {}), true);
        QVERIFY(!rig.Box("quotes_box")->isChecked());
        QVERIFY(rig.MainControl(QStringLiteral("print_button"))->isEnabled());

        QTest::mouseClick(rig.Box("quotes_box"), Qt::LeftButton);
        QCOMPARE(rig.main.settings.showQuotes, true);
        QStringList castControls{QStringLiteral("primary_hexagram_frame"), QStringLiteral("resulting_hexagram_frame"),
                                 QStringLiteral("changing_line_rule_label"), QStringLiteral("cast_time_caption"),
                                 QStringLiteral("cast_time_label"), QStringLiteral("diviner_name_caption"),
                                 QStringLiteral("diviner_name_label"), QStringLiteral("matter_caption"),
                                 QStringLiteral("matter_label")};
        for (int line = 1; line <= 6; ++line)
            castControls << QStringLiteral("line_position_%1_label").arg(line);
        for (const QString &name : castControls)
            QVERIFY2(!rig.MainShows(name), qPrintable(name));
        for (const char *name : {"saying_label", "saying_source_label", "trigram_wheel_picture", "landscape_scroll_picture", "seal_picture"})
            QVERIFY2(rig.MainShows(QString::fromLatin1(name)), name);
        QVERIFY(!rig.MainControl(QStringLiteral("print_button"))->isEnabled());
        QCOMPARE(rig.MainControl(QStringLiteral("trigram_wheel_picture"))->y(), 82);
        QCOMPARE(rig.MainControl(QStringLiteral("landscape_scroll_picture"))->y(), 99);

        QTest::mouseClick(rig.Box("quotes_box"), Qt::LeftButton);
        QCOMPARE(rig.main.settings.showQuotes, false);
        QVERIFY(!rig.MainShows(QStringLiteral("saying_label")));
        QVERIFY(!rig.MainShows(QStringLiteral("saying_source_label")));
        QCOMPARE(rig.MainControl(QStringLiteral("trigram_wheel_picture"))->y(), 105);
        QCOMPARE(rig.MainControl(QStringLiteral("landscape_scroll_picture"))->y(), 122);
    }

    void musicBoxDrivesTheMainToggle_data()
    {
        QTest::addColumn<int>("startValue");
        QTest::addColumn<bool>("byKey");
        QTest::addColumn<int>("endValue");
        QTest::newRow("off goes to background music, click") << 0 << false << 1;
        QTest::newRow("off goes to background music, M") << 0 << true << 1;
        QTest::newRow("background music goes off, M") << 1 << true << 0;
        QTest::newRow("festival music goes off, click") << 2 << false << 0;
    }

    void musicBoxDrivesTheMainToggle()
    {
        QFETCH(int, startValue);
        QFETCH(bool, byKey);
        QFETCH(int, endValue);
        OptionsRig rig(SettingsWith({}, {}, {}));
        rig.main.music->SetToggleValue(startValue);
        rig.window = std::make_unique<OptionsWindow>(rig.services, rig.main.settings, *rig.target, [] {}, nullptr);
        auto *music = rig.Control<MusicToggleBox>(QStringLiteral("music_box"));
        auto *mainMusic = rig.MainControl<MusicToggleBox>(QStringLiteral("music_toggle"));
        QCOMPARE(music->Value(), startValue);
        mainMusic->setEnabled(false);
        rig.main.effects.played.clear();

        if (byKey)
            QTest::keyRelease(rig.window.get(), Qt::Key_M);
        else
            QTest::mouseClick(music, Qt::LeftButton);
        QCOMPARE(rig.main.music->Toggle().value, endValue);
        QCOMPARE(mainMusic->Value(), endValue);
        QVERIFY(mainMusic->isEnabled());
        QCOMPARE(music->Value(), endValue);
        QCOMPARE(music->text(), mainMusic->text());
        QCOMPARE(music->toolTip(), mainMusic->toolTip());
        QCOMPARE(rig.main.effects.played.value(0), rig.Sound("s1.wav"));
    }

    void webButtonAndItsKeys()
    {
        OptionsRig rig;
        QTest::mouseClick(rig.Control(QStringLiteral("web_page_button")), Qt::LeftButton);
        QTest::keyRelease(rig.window.get(), Qt::Key_L);
        QTest::keyRelease(rig.window.get(), Qt::Key_F2);
        QCOMPARE(rig.webPagesOpened, 3);
        QCOMPARE(rig.main.effects.played.count(rig.Sound("s1.wav")), 3);
    }

    void systemTools_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("tool");
        QTest::addColumn<bool>("starts");
        QTest::newRow("date and time, found")
            << QStringLiteral("date_time_button") << int(SystemTool::DateTime) << true;
        QTest::newRow("date and time, none")
            << QStringLiteral("date_time_button") << int(SystemTool::DateTime) << false;
        QTest::newRow("volume, found") << QStringLiteral("volume_button") << int(SystemTool::Volume) << true;
        QTest::newRow("volume, none") << QStringLiteral("volume_button") << int(SystemTool::Volume) << false;
    }

    void systemTools()
    {
        QFETCH(QString, button);
        QFETCH(int, tool);
        QFETCH(bool, starts);
        OptionsRig rig;
        rig.toolsStart = starts;
        rig.window->show();
        rig.main.dialogs.boxes.clear();
        QTest::mouseClick(rig.Control(button), Qt::LeftButton);
        QCOMPARE(rig.toolsAsked, std::vector<SystemTool>{SystemTool(tool)});
        if (starts) {
            QVERIFY(rig.main.dialogs.boxes.empty());
        } else {
            QCOMPARE(rig.main.dialogs.boxes.size(), size_t(1));
            QCOMPARE(rig.main.dialogs.boxes[0].text,
                     QStringLiteral("无法调用操作系统程序！\r请自行查找操作系统中的此项功能。"));
            QCOMPARE(rig.main.dialogs.boxes[0].title, QStringLiteral("Ravezaz"));
            QCOMPARE(rig.main.dialogs.boxes[0].icon, DialogService::Icon::None);
        }
        QVERIFY(rig.window->isVisible());
    }

    void firstInstalledToolIsStarted_data()
    {
        QTest::addColumn<QStringList>("installed");
        QTest::addColumn<QStringList>("failing");
        QTest::addColumn<QString>("started");
        QTest::newRow("first is there") << QStringList{QStringLiteral("pavucontrol"), QStringLiteral("kcmshell5")}
                                        << QStringList{} << QStringLiteral("/usr/bin/pavucontrol");
        QTest::newRow("a later one") << QStringList{QStringLiteral("kcmshell5")} << QStringList{}
                                     << QStringLiteral("/usr/bin/kcmshell5 kcm_pulseaudio");
        QTest::newRow("first fails to start")
            << QStringList{QStringLiteral("pavucontrol"), QStringLiteral("mate-volume-control")}
                                              << QStringList{QStringLiteral("/usr/bin/pavucontrol")}
                                              << QStringLiteral("/usr/bin/mate-volume-control");
        QTest::newRow("none") << QStringList{} << QStringList{} << QString();
    }

    void firstInstalledToolIsStarted()
    {
        QFETCH(QStringList, installed);
        QFETCH(QStringList, failing);
        QFETCH(QString, started);
        QString ran;
        const bool result = StartFirstInstalled(
            ToolCommandsFor(SystemTool::Volume),
            [&](const QString &program) {
                return installed.contains(program) ? QStringLiteral("/usr/bin/") + program : QString();
            },
            [&](const QString &program, const QStringList &arguments) {
                if (failing.contains(program))
                    return false;
                ran = (QStringList{program} + arguments).join(QLatin1Char(' '));
                return true;
            });
        QCOMPARE(result, !started.isEmpty());
        QCOMPARE(ran, started);
    }

    void everyToolListOffersCommands()
    {
        for (const SystemTool tool : {SystemTool::DateTime, SystemTool::Volume}) {
            QVERIFY(!ToolCommandsFor(tool).empty());
            for (const ToolCommand &command : ToolCommandsFor(tool))
                QVERIFY(!command.program.contains(QLatin1Char(' ')));
        }
    }

    void closing_data()
    {
        QTest::addColumn<std::function<void(OptionsRig &)>>("close");
        using Close = std::function<void(OptionsRig &)>;
        QTest::newRow("F12") << Close([](OptionsRig &rig) { QTest::keyRelease(rig.window.get(), Qt::Key_F12); });
        QTest::newRow("double-click on the background") << Close([](OptionsRig &rig) {
            QTest::mouseDClick(rig.Control(QStringLiteral("background_picture")), Qt::LeftButton, {}, QPoint(380, 270));
        });
        QTest::newRow("reload") << Close([](OptionsRig &rig) {
            QTest::mouseClick(rig.Control(QStringLiteral("reload_animation")), Qt::LeftButton);
        });
    }

    void closing()
    {
        QFETCH(std::function<void(OptionsRig &)>, close);
        OptionsRig rig;
        rig.window->show();
        close(rig);
        QVERIFY(!rig.window->isVisible());
        QCOMPARE(rig.guardEnds, 1);
    }

    void reloadMakesTheNextClockTickChangeTheDay_data()
    {
        QTest::addColumn<bool>("reload");
        QTest::newRow("reload") << true;
        QTest::newRow("plain close") << false;
    }

    void reloadMakesTheNextClockTickChangeTheDay()
    {
        QFETCH(bool, reload);
        OptionsRig rig({}, true);
        rig.window->show();
        if (reload)
            QTest::mouseClick(rig.Control(QStringLiteral("reload_animation")), Qt::LeftButton);
        else
            QTest::keyRelease(rig.window.get(), Qt::Key_F12);
        QCOMPARE(rig.main.effects.played.contains(rig.Sound("close.wav")), reload);
        QCOMPARE(rig.main.window->Today().isValid(), !reload);
        // The day-change step returns the main window to its idle view; ten
        // clock ticks show that without a reload it never comes.
        if (reload) {
            QTRY_VERIFY(!rig.MainShows(QStringLiteral("primary_hexagram_frame")));
        } else {
            QSignalSpy ticks(rig.MainControl<QTimer>(QStringLiteral("clock_timer")), &QTimer::timeout);
            QTRY_VERIFY(ticks.count() >= 10);
            QVERIFY(rig.MainShows(QStringLiteral("primary_hexagram_frame")));
        }
        QCOMPARE(rig.main.window->Today(), QDate(2006, 7, 16));
    }

    void mainWindowCommandRunsTheOptionsBehindTheGuard()
    {
        MainWindowRig main;
        main.Load();
        OptionsServices services;
        services.dialogs = &main.dialogs;
        services.effects = &main.effects;
        services.programFolder = main.folder.path();
        services.openWebPage = [] {};
        ConnectOptionsCommand(*main.window, *main.music, main.settings, services);

        bool closePictureDisabled = false;
        ModalWatch watch(QStringLiteral("options_window"), [&](QDialog *) {
            closePictureDisabled = !main.Control(QStringLiteral("close_picture"))->isEnabled();
        });
        QTest::keyRelease(main.window.get(), Qt::Key_F4);
        QCOMPARE(watch.visits, 1);
        QVERIFY(closePictureDisabled);
        QVERIFY(main.window->Guard().Timer()->isActive());
        QTRY_VERIFY(main.Control(QStringLiteral("close_picture"))->isEnabled());
    }
};

QTEST_MAIN(OptionsWindowTest)
#include "test_options_window.moc"
