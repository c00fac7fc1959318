#include "fileformat/gbk_codec.h"
#include "records/divination_record.h"
#include "shell/settings.h"
#include "support/fake_dialogs.h"
#include "support/fake_sound.h"
#include "support/limit_note.h"
#include "support/modal_watch.h"
#include "support/require_child.h"
#include "support/split_script.h"
#include "support/type_text.h"
#include "ui/widgets/picture_label.h"
#include "ui/windows/cast_commands.h"
#include "ui/windows/cast_display.h"
#include "ui/windows/casting_window.h"
#include "ui/windows/main_window.h"

#include <QApplication>
#include <QFile>
#include <QFontInfo>
#include <QKeyEvent>
#include <QGroupBox>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

namespace {

const QString ProgramFolder = QStringLiteral("/program");

QString Sound(const char *relativePath)
{
    return ProgramFolder + QString::fromLatin1(relativePath);
}

const QDateTime CastMoment(QDate(2024, 3, 5), QTime(9, 8, 7));

// No phase and no step of the countdown waits, so a whole cast runs in a
// moment; the exit hint stays long enough to be read by a test, and the
// animation keeps the standard frame times.
CastingSchedule QuickSchedule()
{
    CastingSchedule schedule = StandardCastingSchedule();
    for (CastingTimings &timings : schedule.speeds)
        timings = {0, 0, 0, 0, 0, timings.animationFrame};
    schedule.exitCountdown = {500, 0};
    return schedule;
}

// A main window and its cast display, with fake boxes and sounds and a
// record file in a temporary folder; open() puts a casting window over it.
struct CastingRig {
    FakeDialogs dialogs;
    FakeEffects effects;
    Settings settings;
    CastResult castInHand;
    QTemporaryDir folder;
    QString recordPath = folder.filePath(QStringLiteral("filelog.kdf"));
    CastingSchedule schedule = QuickSchedule();
    std::unique_ptr<MainWindow> mainWindow;
    std::unique_ptr<MainWindowCastDisplay> display;
    std::unique_ptr<CastingWindow> window;

    explicit CastingRig(int speed = 5)
    {
        settings.castingSpeed = speed;
        settings.divinerName = QStringLiteral("李四");
        mainWindow = std::make_unique<MainWindow>(mainServices(), settings);
        display = std::make_unique<MainWindowCastDisplay>(*mainWindow);
    }

    void open(const QList<int> &lineValues)
    {
        window = std::make_unique<CastingWindow>(castingServices(lineValues), settings, castInHand, *display);
        window->show();
    }

    MainWindowServices mainServices()
    {
        MainWindowServices services;
        services.dialogs = &dialogs;
        services.effects = &effects;
        services.openHelp = [](QWidget *) {};
        services.openWebPage = [] {};
        services.now = [] { return CastMoment; };
        services.random = [] { return 0.0; };
        services.programFolder = ProgramFolder;
        return services;
    }

    CastingWindowServices castingServices(const QList<int> &lineValues)
    {
        return {&dialogs, &effects, ProgramFolder, LineScriptSource(lineValues), [] { return CastMoment; },
                recordPath, schedule};
    }

    template <typename Control>
    Control *control(const char *name) const
    {
        return RequireChild<Control>(*window, QString::fromLatin1(name));
    }

    template <typename Control>
    Control *mainControl(const QString &name) const
    {
        return RequireChild<Control>(*mainWindow, name);
    }

    QString text(const char *name) const { return control<QLabel>(name)->text(); }
    bool shown(QWidget *widget) const { return widget->isVisibleTo(widget->window()); }

    void fillFields()
    {
        control<QLineEdit>("diviner_name_field")->setText(QStringLiteral("张三"));
        control<QLineEdit>("matter_field")->setText(QStringLiteral("问前程"));
    }

    void pressKey(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(window.get(), Qt::Key(key), modifiers);
    }

    bool finished() const
    {
        auto *finish = control<QPushButton>("finish_button");
        return finish->isVisible() && finish->isEnabled();
    }

    QByteArray recordFile() const
    {
        QFile file(recordPath);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
};

bool SamePicture(const PictureLabel *shown, const PictureLabel *store)
{
    return shown->Picture().toImage() == store->Picture().toImage();
}

QColor TextColour(const QLabel *label)
{
    return label->palette().color(QPalette::WindowText);
}

constexpr int CastTimeoutMs = 20000;

} // namespace

class CastingWindowTest : public QObject {
    Q_OBJECT

private slots:
    void openingShowsTheWaitingWindow()
    {
        CastingRig rig(3);
        rig.open({7, 7, 7, 7, 7, 7});
        QCOMPARE(rig.window->objectName(), QStringLiteral("casting_window"));
        QCOMPARE(rig.window->windowTitle(), QStringLiteral("推演卦体"));
        QVERIFY(rig.window->windowFlags().testFlag(Qt::FramelessWindowHint));
        QVERIFY(!rig.window->mask().isEmpty());
        QCOMPARE(rig.effects.played, QStringList{Sound("/wav/open.wav")});
        QCOMPARE(rig.text("change_message_label"), QStringLiteral("大衍之数"));
        QCOMPARE(rig.text("stalk_counter"), QStringLiteral("50"));
        QCOMPARE(rig.text("speed_bar"), QStringLiteral("■■■"));
        QCOMPARE(rig.control<QPushButton>("step_button")->text(), QStringLiteral("推演初爻"));
        QCOMPARE(rig.text("line_value_1"), QStringLiteral("初爻"));
        QCOMPARE(rig.text("resulting_line_value_6"), QStringLiteral("上爻"));
        QVERIFY(SamePicture(rig.control<PictureLabel>("lamp"), rig.control<PictureLabel>("grey_lamp_picture")));
        for (const char *hidden :
             {"progress_label", "progress_bar", "changing_lines_label", "exit_hint", "finish_button"})
            QVERIFY2(!rig.shown(rig.control<QWidget>(hidden)), hidden);
        QCOMPARE(rig.control<QWidget>("slower_button")->toolTip(), QStringLiteral("减慢速度(按Alt键和小键盘\"-\"键)"));
        QCOMPARE(rig.control<QWidget>("faster_button")->toolTip(), QStringLiteral("加快速度(按Alt键和小键盘\"+\"键)"));
        // The stalk counters are figures in a heavy Latin face, not a CJK one.
        const QFontInfo counterFace(rig.control<QLabel>("stalk_counter")->font());
        QVERIFY2(!counterFace.family().contains(QStringLiteral("CJK")), qPrintable(counterFace.family()));
        QVERIFY(counterFace.weight() >= QFont::Bold);
    }

    // The fields keep what fits and say so while full; a shorter text takes
    // the note away again.
    void fullFieldsShowTheirLimit_data()
    {
        AddNameAndMatterLimitRows();
    }

    void fullFieldsShowTheirLimit()
    {
        QFETCH(QByteArray, field);
        CastingRig rig;
        rig.open({7, 7, 7, 7, 7, 7});
        auto *entry = rig.control<QLineEdit>(field.constData());
        CheckLimitNoteOf(entry);
    }

    void promptsComeBeforeTheFirstLine_data()
    {
        QTest::addColumn<bool>("byKey");
        QTest::newRow("step command") << false;
        QTest::newRow("F5") << true;
    }
    void promptsComeBeforeTheFirstLine()
    {
        QFETCH(bool, byKey);
        CastingRig rig;
        rig.open({7, 7, 7, 7, 7, 7});
        rig.dialogs.textAnswers = {QStringLiteral("欧阳张三丰欧阳张三丰"), QString(40, QChar(u'事'))};
        const auto trigger = [&] {
            if (byKey)
                rig.pressKey(Qt::Key_F5);
            else
                QTest::mouseClick(rig.control<QPushButton>("step_button"), Qt::LeftButton);
        };

        trigger();
        QCOMPARE(rig.dialogs.boxes.size(), size_t(1));
        QCOMPARE(rig.dialogs.boxes[0].text, QStringLiteral("请输入占筮者姓名(不能超过9个字符)。"));
        QCOMPARE(rig.dialogs.boxes[0].title, QStringLiteral("输入姓名"));
        QCOMPARE(rig.dialogs.boxes[0].defaultText, QStringLiteral("李四"));
        QCOMPARE(rig.dialogs.boxes[0].maxLength, 9);
        QCOMPARE(rig.control<QLineEdit>("diviner_name_field")->text(), QStringLiteral("欧阳张三丰欧阳张三"));
        QCOMPARE(ShownLimitNote(*rig.control<QLineEdit>("diviner_name_field")), QStringLiteral("最多9个字"));

        trigger();
        QCOMPARE(rig.dialogs.boxes.size(), size_t(2));
        QCOMPARE(rig.dialogs.boxes[1].text, QStringLiteral("请输入所占何事(不能超过30个字符)。"));
        QCOMPARE(rig.dialogs.boxes[1].title, QStringLiteral("输入事由"));
        QCOMPARE(rig.dialogs.boxes[1].defaultText, QStringLiteral("某事云云"));
        QCOMPARE(rig.dialogs.boxes[1].maxLength, 30);
        QCOMPARE(rig.control<QLineEdit>("matter_field")->text(), QString(30, QChar(u'事')));
        QCOMPARE(ShownLimitNote(*rig.control<QLineEdit>("matter_field")), QStringLiteral("最多30个字"));
        QVERIFY(rig.shown(rig.control<QWidget>("automatic_button")));
        QVERIFY(!rig.effects.played.contains(Sound("/wav/res.wav")));

        trigger();
        QCOMPARE(rig.dialogs.boxes.size(), size_t(2));
        QVERIFY(rig.effects.played.contains(Sound("/wav/res.wav")));
        for (const char *hidden : {"automatic_button", "close_button"})
            QVERIFY2(!rig.shown(rig.control<QWidget>(hidden)), hidden);
        QVERIFY(rig.shown(rig.control<QWidget>("progress_label")));
        QVERIFY(!rig.control<QLineEdit>("diviner_name_field")->isEnabled());
        QVERIFY(!rig.control<QLineEdit>("matter_field")->isEnabled());
        QTRY_COMPARE_WITH_TIMEOUT(rig.text("line_value_1"), QStringLiteral("7"), CastTimeoutMs);
        QCOMPARE(rig.settings.divinerName, QStringLiteral("欧阳张三丰欧阳张三"));

        // Only the automatic start goes on to the second line by itself.
        if (byKey) {
            QTRY_COMPARE_WITH_TIMEOUT(rig.text("line_value_2"), QStringLiteral("7"), CastTimeoutMs);
        } else {
            QTRY_VERIFY(rig.control<QPushButton>("step_button")->isEnabled());
            QCOMPARE(rig.control<QPushButton>("step_button")->text(), QStringLiteral("推演二爻"));
            // No phase is timed: the second line waits for the step command.
            QVERIFY(!rig.control<QTimer>("phase_timer")->isActive());
            QCOMPARE(rig.text("line_value_2"), QStringLiteral("二爻"));
        }
    }

    void enterPressesOnlyAFocusedCommand()
    {
        CastingRig rig;
        rig.open({7, 7, 7, 7, 7, 7});
        auto *name = rig.control<QLineEdit>("diviner_name_field");
        name->setFocus();
        QTest::keyClick(name, Qt::Key_Return);
        QVERIFY(rig.dialogs.boxes.empty());
        auto *step = rig.control<QPushButton>("step_button");
        step->setFocus();
        QTest::keyClick(step, Qt::Key_Return);
        QCOMPARE(rig.dialogs.boxes.size(), size_t(1));
    }

    void cancelledPromptAsksAgain()
    {
        CastingRig rig;
        rig.open({7, 7, 7, 7, 7, 7});
        rig.dialogs.textAnswers = {std::nullopt, QStringLiteral("张三")};
        auto *step = rig.control<QPushButton>("step_button");
        QTest::mouseClick(step, Qt::LeftButton);
        QCOMPARE(rig.control<QLineEdit>("diviner_name_field")->text(), QString());
        QTest::mouseClick(step, Qt::LeftButton);
        QCOMPARE(rig.dialogs.boxes.size(), size_t(2));
        QCOMPARE(rig.dialogs.boxes[1].title, QStringLiteral("输入姓名"));
        QCOMPARE(rig.control<QLineEdit>("diviner_name_field")->text(), QStringLiteral("张三"));
    }

    void doubleClicksFillTheFields()
    {
        CastingRig rig;
        rig.open({7, 7, 7, 7, 7, 7});
        auto *name = rig.control<QLineEdit>("diviner_name_field");
        auto *matter = rig.control<QLineEdit>("matter_field");
        QTest::mouseDClick(name, Qt::LeftButton);
        QCOMPARE(name->text(), QStringLiteral("某官"));
        QTest::mouseDClick(name, Qt::LeftButton);
        QCOMPARE(name->text(), QStringLiteral("李四"));
        QTest::mouseDClick(matter, Qt::LeftButton);
        QCOMPARE(matter->text(), QStringLiteral("某事云云"));
    }

    void speedCommandsAndKeys_data()
    {
        QTest::addColumn<int>("storedSpeed");
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("bar");
        QTest::addColumn<int>("frameInterval");
        QTest::newRow("slower at 1") << 1 << "slower_button" << "■" << 120;
        QTest::newRow("faster at 5") << 5 << "faster_button" << "■■■■■" << 30;
        QTest::newRow("faster from 3") << 3 << "faster_button" << "■■■■" << 45;
        QTest::newRow("Alt keypad minus from 2") << 2 << "Alt-" << "■" << 120;
        QTest::newRow("Ctrl keypad plus from 4") << 4 << "Ctrl+" << "■■■■■" << 30;
        QTest::newRow("Shift keypad plus from 1") << 1 << "Shift+" << "■■" << 90;
        QTest::newRow("Alt let go before keypad plus") << 3 << "Alt let go before +" << "■■■■" << 45;
        QTest::newRow("keypad plus alone") << 3 << "+" << "■■■" << 60;
        QTest::newRow("stored 7 is 5") << 7 << "" << "■■■■■" << 30;
    }
    void speedCommandsAndKeys()
    {
        QFETCH(int, storedSpeed);
        QFETCH(QString, action);
        QFETCH(QString, bar);
        QFETCH(int, frameInterval);
        CastingRig rig(storedSpeed);
        rig.schedule = StandardCastingSchedule();
        rig.open({7, 7, 7, 7, 7, 7});
        struct KeyAction {
            const char *name;
            Qt::Key key;
            Qt::KeyboardModifiers pressed;
            Qt::KeyboardModifiers released;
        };
        const std::array<KeyAction, 5> keys{{
            {"Alt-", Qt::Key_Minus, Qt::AltModifier | Qt::KeypadModifier, Qt::AltModifier | Qt::KeypadModifier},
            {"Ctrl+", Qt::Key_Plus, Qt::ControlModifier | Qt::KeypadModifier, Qt::ControlModifier | Qt::KeypadModifier},
            {"Shift+", Qt::Key_Plus, Qt::ShiftModifier | Qt::KeypadModifier, Qt::ShiftModifier | Qt::KeypadModifier},
            {"Alt let go before +", Qt::Key_Plus, Qt::AltModifier | Qt::KeypadModifier, Qt::KeypadModifier},
            {"+", Qt::Key_Plus, Qt::KeypadModifier, Qt::KeypadModifier},
        }};
        if (action.endsWith(QStringLiteral("_button")))
            QTest::mouseClick(rig.control<QWidget>(qPrintable(action)), Qt::LeftButton);
        for (const KeyAction &key : keys) {
            if (action != QLatin1String(key.name))
                continue;
            QTest::keyPress(rig.window.get(), key.key, key.pressed);
            QTest::keyRelease(rig.window.get(), key.key, key.released);
        }
        QCOMPARE(rig.text("speed_bar"), bar);
        QCOMPARE(rig.settings.castingSpeed, int(bar.size()));
        QCOMPARE(rig.control<QTimer>("animation_timer")->interval(), frameInterval);
    }

    void speedChangeReachesTheRunningPhase()
    {
        CastingRig rig(1);
        rig.schedule = StandardCastingSchedule();
        rig.open({7, 7, 7, 7, 7, 7});
        rig.fillFields();
        QTest::mouseClick(rig.control<QPushButton>("step_button"), Qt::LeftButton);
        auto *phase = rig.control<QTimer>("phase_timer");
        QVERIFY(phase->isActive());
        QCOMPARE(phase->interval(), 3000);
        QTest::mouseClick(rig.control<QWidget>("faster_button"), Qt::LeftButton);
        QVERIFY(phase->isActive());
        QCOMPARE(phase->interval(), 2000);
        QVERIFY(rig.effects.played.contains(Sound("/wav/res2.wav")));
    }

    void automaticStartAndCloseOnlyBeforeTheFirstStep()
    {
        CastingRig rig;
        rig.open({7, 7, 7, 7, 7, 7});
        rig.fillFields();
        QTest::mouseClick(rig.control<QPushButton>("step_button"), Qt::LeftButton);
        rig.pressKey(Qt::Key_F5);
        rig.pressKey(Qt::Key_F12);
        QVERIFY(rig.window->isVisible());
        QTRY_VERIFY_WITH_TIMEOUT(rig.control<QPushButton>("step_button")->isEnabled(), CastTimeoutMs);
        QVERIFY(!rig.control<QTimer>("phase_timer")->isActive());
        QCOMPARE(rig.text("line_value_2"), QStringLiteral("二爻"));
        QVERIFY(rig.window->isVisible());
    }

    void closeBeforeTheFirstStep()
    {
        CastingRig rig;
        rig.castInHand.primaryLines = rig.castInHand.resultingLines = QStringLiteral("111111");
        const CastResult earlierCast = rig.castInHand;
        rig.open({7, 7, 7, 7, 7, 7});
        rig.effects.played.clear();
        rig.pressKey(Qt::Key_F12);
        QVERIFY(!rig.window->isVisible());
        QCOMPARE(rig.window->result(), int(QDialog::Rejected));
        QVERIFY(rig.effects.played.isEmpty());
        QVERIFY(rig.recordFile().isEmpty());
        // The cast in hand and the remembered name are those of before.
        QCOMPARE(rig.castInHand, earlierCast);
        QCOMPARE(rig.settings.divinerName, QStringLiteral("李四"));
    }

    void resolvedCastIsShownAndRecorded_data()
    {
        QTest::addColumn<QList<int>>("lineValues");
        QTest::addColumn<QString>("primaryName");
        QTest::addColumn<QString>("primaryNumber");
        QTest::addColumn<QString>("primaryLines");
        QTest::addColumn<QString>("resultingName");
        QTest::addColumn<QString>("resultingNumber");
        QTest::addColumn<QString>("resultingLines");
        QTest::addColumn<QString>("changingLines");
        QTest::addColumn<QString>("rule");
        QTest::addColumn<QStringList>("primaryPictures");
        QTest::addColumn<QStringList>("resultingPictures");

        QTest::newRow("no changing line") << QList<int>{7, 7, 7, 8, 8, 8} << "泰" << "11" << "111000" << ""
                                          << "" << "111000" << "未有变爻"
                                          << "凡卦六爻皆不变,则占本卦彖辞,而以内卦为贞,外卦为悔。"
                                          << QStringList{"1", "1", "1", "0", "0", "0"}
                                          << QStringList{"1", "1", "1", "0", "0", "0"};
        QTest::newRow("one changing line") << QList<int>{9, 8, 8, 8, 8, 8} << "复" << "24" << "100000" << "坤"
                                           << "2" << "000000" << "变1爻" << "变1爻：则以本卦变爻辞占。"
                                           << QStringList{"11", "0", "0", "0", "0", "0"}
                                           << QStringList{"00", "0", "0", "0", "0", "0"};
        QTest::newRow("six changing lines on 乾")
            << QList<int>{9, 9, 9, 9, 9, 9} << "乾" << "1" << "111111" << "坤" << "2" << "000000" << "变6爻"
            << "变6爻：则《乾》、《坤》占“二用”，余卦占之卦彖辞。"
            << QStringList{"11", "11", "11", "11", "11", "11"} << QStringList{"00", "00", "00", "00", "00", "00"};
    }
    void resolvedCastIsShownAndRecorded()
    {
        QFETCH(QList<int>, lineValues);
        QFETCH(QString, primaryName);
        QFETCH(QString, primaryNumber);
        QFETCH(QString, primaryLines);
        QFETCH(QString, resultingName);
        QFETCH(QString, resultingNumber);
        QFETCH(QString, resultingLines);
        QFETCH(QString, changingLines);
        QFETCH(QString, rule);
        QFETCH(QStringList, primaryPictures);
        QFETCH(QStringList, resultingPictures);
        const bool changes = !resultingName.isEmpty();
        const QStringList lineWords{"初爻", "二爻", "三爻", "四爻", "五爻", "上爻"};

        CastingRig rig;
        rig.open(lineValues);
        rig.fillFields();
        rig.pressKey(Qt::Key_F5);
        QVERIFY(rig.control<QTimer>("animation_timer")->isActive());
        QTRY_VERIFY_WITH_TIMEOUT(rig.finished(), CastTimeoutMs);

        // The casting window in its finished state.
        QCOMPARE(rig.text("changing_lines_label"), changingLines);
        QVERIFY(rig.shown(rig.control<QWidget>("changing_lines_label")));
        for (int line = 1; line <= 6; ++line) {
            const int value = lineValues[line - 1];
            const bool changing = value == 6 || value == 9;
            const auto *valueLabel = rig.control<QLabel>(qPrintable(QStringLiteral("line_value_%1").arg(line)));
            const auto *changedLabel =
                rig.control<QLabel>(qPrintable(QStringLiteral("resulting_line_value_%1").arg(line)));
            QCOMPARE(valueLabel->text(), QString::number(value));
            QCOMPARE(TextColour(valueLabel) == QColor(Qt::red), changing);
            if (changes) {
                QCOMPARE(changedLabel->text(), QString::number(changing ? 15 - value : value));
                QCOMPARE(TextColour(changedLabel) == QColor(Qt::red), changing);
            } else {
                QCOMPARE(changedLabel->text(), lineWords[line - 1]);
            }
        }
        QCOMPARE(rig.text("progress_label"), QStringLiteral("推演完成(18/18变)"));
        QCOMPARE(rig.text("progress_bar"), QString(18, QChar(u'■')));
        QCOMPARE(rig.text("stalk_counter"), QStringLiteral("50"));
        QVERIFY(!rig.shown(rig.control<QWidget>("step_button")));
        QVERIFY(rig.control<QPushButton>("finish_button")->hasFocus());
        QVERIFY(SamePicture(rig.control<PictureLabel>("lamp"), rig.control<PictureLabel>("green_lamp_picture")));
        QVERIFY(!rig.control<QTimer>("animation_timer")->isActive());
        QVERIFY(rig.effects.played.contains(Sound("/wav/end.wav")));
        QCOMPARE(rig.text("exit_hint"), QStringLiteral("点击推演完成按钮或\n 5秒后自动退出"));

        // The main window's cast view.
        MainWindow &main = *rig.mainWindow;
        QVERIFY(rig.shown(rig.mainControl<QGroupBox>(QStringLiteral("primary_hexagram_frame"))));
        QCOMPARE(rig.shown(rig.mainControl<QGroupBox>(QStringLiteral("resulting_hexagram_frame"))), changes);
        QCOMPARE(rig.mainControl<QLabel>(QStringLiteral("primary_hexagram_name_shadow"))->text(), primaryName);
        QCOMPARE(rig.mainControl<QLabel>(QStringLiteral("primary_hexagram_name_label"))->text(), primaryName);
        QCOMPARE(rig.mainControl<QLabel>(QStringLiteral("primary_hexagram_number_label"))->text(), primaryNumber);
        QCOMPARE(rig.mainControl<QLabel>(QStringLiteral("primary_hexagram_lines_label"))->text(), primaryLines);
        QCOMPARE(rig.mainControl<QLabel>(QStringLiteral("resulting_hexagram_lines_label"))->text(), resultingLines);
        if (changes) {
            QCOMPARE(rig.mainControl<QLabel>(QStringLiteral("resulting_hexagram_name_shadow"))->text(), resultingName);
            QCOMPARE(rig.mainControl<QLabel>(QStringLiteral("resulting_hexagram_name_label"))->text(), resultingName);
            QCOMPARE(rig.mainControl<QLabel>(QStringLiteral("resulting_hexagram_number_label"))->text(), resultingNumber);
        }
        QCOMPARE(rig.mainControl<QLabel>(QStringLiteral("changing_line_rule_label"))->text(), rule);
        QCOMPARE(rig.mainControl<QLabel>(QStringLiteral("diviner_name_label"))->text(), QStringLiteral("张三"));
        QCOMPARE(rig.mainControl<QLabel>(QStringLiteral("matter_label"))->text(), QStringLiteral("问前程"));
        QVERIFY(rig.mainControl<QWidget>(QStringLiteral("print_button"))->isEnabled());
        for (const char *idle : {"saying_label", "saying_source_label", "trigram_wheel_picture", "landscape_scroll_picture", "seal_picture"})
            QVERIFY2(!rig.shown(rig.mainControl<QWidget>(QString::fromLatin1(idle))), idle);
        for (int line = 1; line <= 6; ++line) {
            const auto picture = [&](const char *side) {
                return main.findChild<PictureLabel *>(
                    QStringLiteral("%1_line_%2_picture").arg(QString::fromLatin1(side)).arg(line));
            };
            const auto store = [&](const QString &code) {
                const QHash<QString, QString> names{{QStringLiteral("0"), QStringLiteral("yin_line_store")},
                                                    {QStringLiteral("00"), QStringLiteral("changing_yin_line_store")},
                                                    {QStringLiteral("1"), QStringLiteral("yang_line_store")},
                                                    {QStringLiteral("11"), QStringLiteral("changing_yang_line_store")}};
                return main.findChild<PictureLabel *>(names.value(code), Qt::FindDirectChildrenOnly);
            };
            QVERIFY2(SamePicture(picture("primary"), store(primaryPictures[line - 1])), qPrintable(QString::number(line)));
            QVERIFY2(SamePicture(picture("resulting"), store(resultingPictures[line - 1])),
                     qPrintable(QString::number(line)));
        }

        // Exactly one record line, in GBK, with the shown time.
        const QString castTime = rig.mainControl<QLabel>(QStringLiteral("cast_time_label"))->text();
        QCOMPARE(castTime, QStringLiteral("2024-3-5 9:08:07"));
        const DivinationRecord expected{castTime,
                                        QStringLiteral("张三"),
                                        QStringLiteral("问前程"),
                                        primaryNumber,
                                        primaryLines,
                                        primaryName,
                                        changes ? changingLines : QStringLiteral("未变爻"),
                                        resultingNumber,
                                        changes ? resultingLines : QString(),
                                        resultingName};
        QCOMPARE(rig.recordFile(), FormatRecordLine(expected));
        QVERIFY(rig.dialogs.Shown(FakeDialogs::Kind::Message).empty());
    }

    void manualCastWaitsForTheFinishCommand()
    {
        CastingRig rig;
        rig.open({8, 8, 8, 8, 8, 8});
        rig.fillFields();
        auto *step = rig.control<QPushButton>("step_button");
        for (int line = 1; line <= 6; ++line) {
            QTRY_VERIFY_WITH_TIMEOUT(step->isEnabled(), CastTimeoutMs);
            QTest::mouseClick(step, Qt::LeftButton);
        }
        QTRY_VERIFY_WITH_TIMEOUT(rig.finished(), CastTimeoutMs);
        QCOMPARE(rig.text("exit_hint"), QStringLiteral("点击推演完成按钮退出"));
        QVERIFY(!rig.control<QTimer>("exit_timer")->isActive());
        QTest::mouseClick(rig.control<QPushButton>("finish_button"), Qt::LeftButton);
        QVERIFY(!rig.window->isVisible());
        QCOMPARE(rig.window->result(), int(QDialog::Accepted));
        QCOMPARE(rig.effects.played.last(), Sound("/wav/close.wav"));
    }

    // Text pasted with line breaks reaches the record as one line.
    void pastedLineBreaksBecomeSpaces()
    {
        CastingRig rig;
        rig.open({8, 8, 8, 8, 8, 8});
        rig.control<QLineEdit>("diviner_name_field")->setText(QStringLiteral("张三\r\n"));
        rig.control<QLineEdit>("matter_field")->setText(QStringLiteral("问\n前程"));
        QVERIFY(rig.control<QLineEdit>("diviner_name_field")->text().contains(u'\n'));
        rig.pressKey(Qt::Key_F5);
        QTRY_VERIFY_WITH_TIMEOUT(!rig.recordFile().isEmpty(), CastTimeoutMs);
        const QByteArray bytes = rig.recordFile();
        QCOMPARE(bytes.count('\n'), 1);
        QCOMPARE(bytes.count('\r'), 1);
        QVERIFY2(DecodeGbk(bytes).contains(QStringLiteral("\"姓名:张三  \",\"占筮事由:问 前程\"")),
                 qPrintable(DecodeGbk(bytes)));
    }

    // The field cuts a name to its length in UTF-16 units, and so a character
    // outside the basic plane in two: the record holds no half of it.
    void aCharacterCutAtTheLimitIsNotRecordedInHalf()
    {
        CastingRig rig;
        rig.open({8, 8, 8, 8, 8, 8});
        rig.control<QLineEdit>("diviner_name_field")->setText(QStringLiteral("一二三四五六七八𠀀"));
        rig.control<QLineEdit>("matter_field")->setText(QStringLiteral("问行程"));
        QVERIFY(rig.control<QLineEdit>("diviner_name_field")->text().back().isHighSurrogate());
        rig.pressKey(Qt::Key_F5);
        QTRY_VERIFY_WITH_TIMEOUT(!rig.recordFile().isEmpty(), CastTimeoutMs);
        const QString line = DecodeGbk(rig.recordFile());
        QVERIFY2(line.contains(QStringLiteral("\"姓名:一二三四五六七八\",")), qPrintable(line));
        QVERIFY(!line.contains(QChar(0x1A)) && !line.contains(QChar::ReplacementCharacter));
    }

    void failedRecordKeepsTheCastShown()
    {
        CastingRig rig;
        const QString unwritable = rig.folder.filePath(QStringLiteral("no-such-folder/filelog.kdf"));
        rig.recordPath = unwritable;
        rig.open({9, 8, 8, 8, 8, 8});
        rig.fillFields();
        rig.pressKey(Qt::Key_F5);
        QTRY_VERIFY_WITH_TIMEOUT(rig.finished(), CastTimeoutMs);
        QCOMPARE(rig.dialogs.Shown(FakeDialogs::Kind::Message).size(), size_t(1));
        QVERIFY(rig.dialogs.Shown(FakeDialogs::Kind::Message)[0].text.contains(QStringLiteral("no-such-folder")));
        QVERIFY(rig.shown(rig.mainControl<QGroupBox>(QStringLiteral("primary_hexagram_frame"))));
        QCOMPARE(rig.mainControl<QLabel>(QStringLiteral("primary_hexagram_name_label"))->text(), QStringLiteral("复"));
        QVERIFY(!QFile::exists(unwritable));
    }

    void ruleLabelOpensItsHelpTopics_data()
    {
        QTest::addColumn<QString>("ruleLabel");
        QTest::addColumn<QList<int>>("topics");
        QTest::newRow("caption before a cast") << "变爻推论规则" << QList<int>{902};
        QTest::newRow("row 0") << "凡卦六爻皆不变,则占本卦彖辞,而以内卦为贞,外卦为悔。" << QList<int>{902, 920};
        QTest::newRow("row 1") << "变1爻：则以本卦变爻辞占。" << QList<int>{902, 921};
        QTest::newRow("row 2") << "变2爻：则以本卦二变爻辞占，仍以上爻为主。" << QList<int>{902, 922};
        QTest::newRow("row 3") << "变3爻：则占本卦及之卦之彖辞，而以本卦为贞，之卦为悔。前十卦主贞，后十卦主悔。"
                               << QList<int>{902, 923};
        QTest::newRow("row 4") << "变4爻：则以之卦二不变爻占，仍以下爻为主。" << QList<int>{902, 924};
        QTest::newRow("row 5") << "变5爻：则以之卦不变爻占。" << QList<int>{902, 925};
        QTest::newRow("row 6") << "变6爻：则《乾》、《坤》占“二用”，余卦占之卦彖辞。" << QList<int>{902, 926};
    }
    void ruleLabelOpensItsHelpTopics()
    {
        QFETCH(QString, ruleLabel);
        QFETCH(QList<int>, topics);
        CastingRig rig;
        QList<int> opened;
        CastCommandServices services{rig.castingServices({7, 7, 7, 7, 7, 7}), &rig.settings, &rig.castInHand,
                                     [&](QWidget *owner, int topic) {
                                         if (owner == rig.mainWindow.get())
                                             opened << topic;
                                     }};
        ConnectCastCommands(*rig.mainWindow, services);
        rig.mainWindow->show();
        auto *rule = rig.mainWindow->findChild<QLabel *>(QStringLiteral("changing_line_rule_label"), Qt::FindDirectChildrenOnly);
        rule->setText(ruleLabel);
        rule->show();
        rig.effects.played.clear();
        QTest::mouseClick(rule, Qt::LeftButton);
        QCOMPARE(opened, topics);
        QCOMPARE(rig.effects.played, QStringList{Sound("/wav/s1.wav")});
    }

    // The whole road from the main window: F5, the two prompts, the
    // automatic cast at speed 5, the countdown and the main window back.
    void automaticCastFromTheMainWindow()
    {
        CastingRig rig;
        rig.dialogs.textAnswers = {QStringLiteral("王五"), QStringLiteral("问行期")};
        CastCommandServices services{rig.castingServices({7, 8, 9, 6, 7, 8}), &rig.settings, &rig.castInHand,
                                     [](QWidget *, int) {}};
        ConnectCastCommands(*rig.mainWindow, services);
        rig.mainWindow->show();

        QStringList countdown;
        ModalWatch watch(QStringLiteral("casting_window"), [&](QDialog *casting) {
            QVERIFY(!rig.mainWindow->isVisible());
            for (int press = 0; press < 3; ++press)
                QTest::keyClick(casting, Qt::Key_F5);
            auto *hint = RequireChild<QLabel>(*casting, QStringLiteral("exit_hint"));
            QObject::connect(RequireChild<QTimer>(*casting, QStringLiteral("exit_timer")), &QTimer::timeout, hint,
                             [&countdown, hint] {
                                 if (hint->isVisible())
                                     countdown << hint->text();
                             });
            QTRY_VERIFY_WITH_TIMEOUT(!casting->isVisible(), CastTimeoutMs);
        });
        QTest::keyClick(rig.mainWindow.get(), Qt::Key_F5);

        QCOMPARE(watch.visits, 1);
        QCOMPARE(countdown, (QStringList{"5", "4", "3", "2", "1", "0"}));
        QCOMPARE(rig.effects.played.count(Sound("/wav/step.wav")), 6);
        QCOMPARE(rig.effects.played.last(), Sound("/wav/close.wav"));
        QVERIFY(!rig.mainWindow->isVisible());
        QTRY_VERIFY(rig.mainWindow->isVisible());
        QCOMPARE(rig.mainControl<QLabel>(QStringLiteral("diviner_name_label"))->text(), QStringLiteral("王五"));
        QCOMPARE(rig.mainControl<QLabel>(QStringLiteral("primary_hexagram_lines_label"))->text(), QStringLiteral("101010"));
        QCOMPARE(rig.mainControl<QLabel>(QStringLiteral("resulting_hexagram_lines_label"))->text(), QStringLiteral("100110"));
        QCOMPARE(rig.mainControl<QLabel>(QStringLiteral("primary_hexagram_name_label"))->text(), QStringLiteral("既济"));
        QCOMPARE(rig.mainControl<QLabel>(QStringLiteral("resulting_hexagram_name_label"))->text(), QStringLiteral("随"));
        const DivinationRecord expected{QStringLiteral("2024-3-5 9:08:07"), QStringLiteral("王五"),
                                        QStringLiteral("问行期"),           QStringLiteral("63"),
                                        QStringLiteral("101010"),           QStringLiteral("既济"),
                                        QStringLiteral("变2爻"),            QStringLiteral("17"),
                                        QStringLiteral("100110"),           QStringLiteral("随")};
        QCOMPARE(rig.recordFile(), FormatRecordLine(expected));
        QCOMPARE(rig.settings.divinerName, QStringLiteral("王五"));
        const CastResult cast{{7, 8, 9, 6, 7, 8}, QStringLiteral("101010"), QStringLiteral("100110"),
                              QStringLiteral("2024-3-5 9:08:07"), QStringLiteral("王五"), QStringLiteral("问行期")};
        QCOMPARE(rig.castInHand, cast);
    }

    // The speed keys change the speed wherever the cursor is, and neither
    // their presses nor their repeats type into a field or reach the record.
    void speedKeysDoNotTypeIntoTheFields_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifier");
        QTest::addColumn<QString>("bar");
        QTest::newRow("Alt keypad minus in 姓名")
            << "diviner_name_field" << int(Qt::Key_Minus) << int(Qt::AltModifier) << "■■";
        QTest::newRow("Ctrl keypad plus in 所占何事")
            << "matter_field" << int(Qt::Key_Plus) << int(Qt::ControlModifier) << "■■■■";
        QTest::newRow("Shift keypad plus in 姓名")
            << "diviner_name_field" << int(Qt::Key_Plus) << int(Qt::ShiftModifier) << "■■■■";
        QTest::newRow("Shift keypad minus in 所占何事")
            << "matter_field" << int(Qt::Key_Minus) << int(Qt::ShiftModifier) << "■■";
    }
    void speedKeysDoNotTypeIntoTheFields()
    {
        QFETCH(QString, field);
        QFETCH(int, key);
        QFETCH(int, modifier);
        QFETCH(QString, bar);
        CastingRig rig(3);
        rig.open({7, 8, 7, 8, 7, 8});
        rig.fillFields();
        auto *typedInto = rig.control<QLineEdit>(qPrintable(field));
        typedInto->setFocus();
        typedInto->end(false);

        const Qt::KeyboardModifiers held = Qt::KeyboardModifier(modifier) | Qt::KeypadModifier;
        const QString typed = key == Qt::Key_Plus ? QStringLiteral("+") : QStringLiteral("-");
        QTest::keyPress(typedInto, Qt::Key(key), held);
        QKeyEvent repeat(QEvent::KeyPress, key, held, typed, true);
        QApplication::sendEvent(typedInto, &repeat);
        QTest::keyRelease(typedInto, Qt::Key(key), held);

        QCOMPARE(rig.text("speed_bar"), bar);
        QCOMPARE(rig.control<QLineEdit>("diviner_name_field")->text(), QStringLiteral("张三"));
        QCOMPARE(rig.control<QLineEdit>("matter_field")->text(), QStringLiteral("问前程"));
        rig.pressKey(Qt::Key_F5);
        QTRY_VERIFY_WITH_TIMEOUT(!rig.recordFile().isEmpty(), CastTimeoutMs);
        QVERIFY2(DecodeGbk(rig.recordFile()).contains(QStringLiteral("\"姓名:张三\",\"占筮事由:问前程\"")),
                 qPrintable(DecodeGbk(rig.recordFile())));
    }

    // A matter longer than its box shows its start, not its end, for the
    // whole cast, and all of it in the tooltip.
    void longMatterShowsItsStartAndAllOfItInTheTooltip_data()
    {
        QTest::addColumn<bool>("typed");
        QTest::newRow("answered in the prompt") << false;
        QTest::newRow("typed into the box") << true;
    }
    void longMatterShowsItsStartAndAllOfItInTheTooltip()
    {
        QFETCH(bool, typed);
        const QString matter = QStringLiteral("问此番远行能否平安抵达并顺利办成所托之事以及归期如何");
        CastingRig rig;
        rig.open({7, 8, 7, 8, 7, 8});
        auto *box = rig.control<QLineEdit>("matter_field");
        QVERIFY(box->fontMetrics().horizontalAdvance(matter) > box->width());
        rig.control<QLineEdit>("diviner_name_field")->setText(QStringLiteral("张三"));
        if (typed) {
            rig.window->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(rig.window.get()));
            box->setFocus();
            TypeText(box, matter);
            QCOMPARE(box->cursorPosition(), int(matter.size()));
        } else {
            rig.dialogs.textAnswers = {matter};
            rig.pressKey(Qt::Key_F5);
            QCOMPARE(box->text(), matter);
        }
        rig.pressKey(Qt::Key_F5);
        QVERIFY(!box->isEnabled());
        QCOMPARE(box->cursorPosition(), 0);
        QCOMPARE(box->toolTip(), matter);
        QTRY_VERIFY_WITH_TIMEOUT(rig.finished(), CastTimeoutMs);
        QCOMPARE(box->cursorPosition(), 0);
        QCOMPARE(box->toolTip(), matter);
    }
};

QTEST_MAIN(CastingWindowTest)
#include "test_casting_window.moc"
