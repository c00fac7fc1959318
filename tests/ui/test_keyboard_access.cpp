// Every window works from the keyboard and speaks to a screen reader: its
// Tab chain runs in reading order, every stop has an accessible name, and
// every command on it clicks on Enter and on Space as on a mouse click.

#include "main_window_rig.h"
#include "support/fake_dialogs.h"
#include "support/fake_sound.h"
#include "support/require_child.h"
#include "ui/widgets/hexagram_text_box.h"
#include "ui/widgets/keyboard_command.h"
#include "ui/windows/about_window.h"
#include "ui/windows/calendar_window.h"
#include "ui/windows/cast_display.h"
#include "ui/windows/cast_speech.h"
#include "ui/windows/casting_window.h"
#include "ui/windows/help_viewer.h"
#include "ui/windows/manual_entry_window.h"
#include "ui/windows/options_window.h"
#include "ui/windows/translation_viewer.h"
#include "ui/windows/trigram_reference.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTest>

#include <functional>
#include <memory>

namespace {

const QDateTime Moment(QDate(2024, 3, 5), QTime(9, 8, 7));

class FakeCalendarHost final : public CalendarHost {
public:
    QDate Today() const override { return Moment.date(); }
    void SelectDate(QDate) override {}
    void SetCalendarWindowOpen(bool) override {}
    void ShowClockText(const QString &) override {}
    void StartCellFilling() override {}
    QDateTime Now() const override { return Moment; }
    void ShowMessage(QWidget *, const QString &, bool) override {}
};

class FakeOptionsTarget final : public OptionsTarget {
public:
    MusicToggle ShownMusicToggle() const override { return {0, QStringLiteral("背景音乐(M)"), QStringLiteral("背景音乐开关 M")}; }
    void SetMusicToggle(int) override {}
    void ShowQuotes(bool) override {}
    void ForgetToday() override {}
};

// A cast of 乾 whose third line changes into 履.
CastResolution SampleCast()
{
    CastResolution cast;
    cast.primary = HexagramViewOf(QStringLiteral("111111"));
    cast.resulting = HexagramViewOf(QStringLiteral("110111"));
    for (int line = 0; line < LinesPerHexagram; ++line) {
        cast.primary.pictures[line] = line == 2 ? QStringLiteral("11") : QStringLiteral("1");
        cast.resulting.pictures[line] = line == 2 ? QStringLiteral("00") : QStringLiteral("1");
    }
    cast.resultingShown = true;
    cast.changingLineCount = 1;
    cast.ruleText = QStringLiteral("一爻变，以本卦变爻之辞占。");
    cast.castTime = QStringLiteral("2024-3-5 9:08");
    cast.divinerName = QStringLiteral("张三");
    cast.matterText = QStringLiteral("问前程");
    return cast;
}

// Everything one window needs, kept alive while its row is checked.
struct WindowRig {
    MainWindowRig main;
    CastResult castInHand;
    FakeCalendarHost calendarHost;
    FakeOptionsTarget optionsTarget;
    std::unique_ptr<MainWindowCastDisplay> display;
    std::unique_ptr<QWidget> window;

    QWidget *Shown()
    {
        QWidget *shown = window ? window.get() : main.window.get();
        shown->show();
        shown->activateWindow();
        return shown;
    }

    ReferenceWindowServices ReferenceServices()
    {
        return {&main.effects, main.folder.path(), [](QWidget *, int) {}};
    }
};

} // namespace

using WindowMaker = std::function<void(WindowRig &)>;
Q_DECLARE_METATYPE(WindowMaker)

namespace {

const WindowMaker MainIdle = [](WindowRig &) {};
const WindowMaker MainWithCast = [](WindowRig &rig) { rig.main.window->ShowCastView(SampleCast()); };
const WindowMaker Casting = [](WindowRig &rig) {
    rig.display = std::make_unique<MainWindowCastDisplay>(*rig.main.window);
    CastingWindowServices services{&rig.main.dialogs, &rig.main.effects, rig.main.folder.path(),
                                   [] { return 0.5; }, [] { return Moment; },
                                   rig.main.folder.filePath(QStringLiteral("filelog.kdf"))};
    rig.window = std::make_unique<CastingWindow>(services, rig.main.settings, rig.castInHand, *rig.display);
};
const WindowMaker ManualEntry = [](WindowRig &rig) {
    rig.display = std::make_unique<MainWindowCastDisplay>(*rig.main.window);
    ManualEntryServices services{&rig.main.dialogs, &rig.main.effects, rig.main.folder.path(),
                                 [] { return Moment; }, rig.main.folder.filePath(QStringLiteral("filelog.kdf")),
                                 [](QWidget *, int) {}};
    rig.window = std::make_unique<ManualEntryWindow>(services, rig.main.settings, rig.castInHand, *rig.display);
};
const WindowMaker Trigrams = [](WindowRig &rig) {
    rig.window = std::make_unique<TrigramReference>(rig.ReferenceServices(), [] {}, nullptr);
};
const WindowMaker Options = [](WindowRig &rig) {
    OptionsServices services{&rig.main.dialogs, &rig.main.effects, rig.main.folder.path(), [] {},
                             [](SystemTool) { return true; }};
    rig.window = std::make_unique<OptionsWindow>(services, rig.main.settings, rig.optionsTarget, [] {}, nullptr);
};
const WindowMaker About = [](WindowRig &rig) {
    rig.window = std::make_unique<AboutWindow>(rig.main.aboutPlayer, rig.main.folder.path(), [] {}, nullptr);
};
const WindowMaker Calendar = [](WindowRig &rig) {
    rig.window = std::make_unique<CalendarWindow>(rig.calendarHost, nullptr);
};
const WindowMaker Translation = [](WindowRig &rig) {
    rig.window = std::make_unique<TranslationViewer>(rig.ReferenceServices(), [] {}, QStringLiteral("111111"), nullptr);
};
const WindowMaker Help = [](WindowRig &rig) {
    rig.window = std::make_unique<HelpViewer>(nullptr);
    // The rig owns the window, which would otherwise delete itself on closing.
    rig.window->setAttribute(Qt::WA_DeleteOnClose, false);
};

// The controls Tab reaches in `window`, in the order it reaches them.
QList<QWidget *> TabChain(QWidget *window)
{
    QList<QWidget *> chain;
    for (QWidget *widget = window->nextInFocusChain(); widget != window; widget = widget->nextInFocusChain()) {
        if (widget->window() == window && widget->isVisibleTo(window) && widget->isEnabled() &&
            (widget->focusPolicy() & Qt::TabFocus) && !chain.contains(widget))
            chain << widget;
    }
    return chain;
}

QStringList NamesOf(const QList<QWidget *> &widgets)
{
    QStringList names;
    for (const QWidget *widget : widgets)
        names << widget->objectName();
    return names;
}

// Whether `part` comes in this order in the Tab chain `whole`, which Tab
// goes round and round: the chain is read from the first name of `part` on.
bool IsSubsequence(const QStringList &part, const QStringList &whole)
{
    const qsizetype start = whole.indexOf(part.value(0));
    if (start < 0)
        return false;
    qsizetype at = 0;
    for (const QString &name : whole.mid(start) + whole.first(start)) {
        if (at < part.size() && name == part[at])
            ++at;
    }
    return at == part.size();
}

// The signal a command sends when it acts, with everything the window
// connected to it taken off, so the test sees the key act and nothing runs.
std::unique_ptr<QSignalSpy> ClickSpyOf(QWidget *control)
{
    if (auto *button = qobject_cast<QAbstractButton *>(control)) {
        QObject::disconnect(button, nullptr, nullptr, nullptr);
        return std::make_unique<QSignalSpy>(button, &QAbstractButton::clicked);
    }
    if (!IsKeyboardCommand(control) && !qobject_cast<HexagramTextBox *>(control))
        return nullptr;
    QObject::disconnect(control, SIGNAL(Clicked()), nullptr, nullptr);
    return std::make_unique<QSignalSpy>(control, SIGNAL(Clicked()));
}

QString AccessibleText(QWidget *widget, QAccessible::Text kind)
{
    QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(widget);
    return accessible ? accessible->text(kind) : QString();
}

} // namespace

class KeyboardAccessTest : public QObject {
    Q_OBJECT

private slots:
    void everyStopIsNamedAndEveryCommandTakesEnterAndSpace_data()
    {
        QTest::addColumn<WindowMaker>("make");
        QTest::addColumn<QStringList>("order");
        QTest::addColumn<QString>("firstFocus");
        // Space belongs to a window that swaps its pictures with it.
        QTest::addColumn<bool>("spaceIsTheWindows");

        const QStringList commandBar{QStringLiteral("cast_button"),    QStringLiteral("manual_entry_button"),
                                     QStringLiteral("records_button"), QStringLiteral("trigrams_button")};
        const QStringList commandBarEnd{QStringLiteral("calendar_button"), QStringLiteral("help_button"),
                                        QStringLiteral("options_button"), QStringLiteral("music_toggle"),
                                        QStringLiteral("about_link")};
        const QStringList titleBand{QStringLiteral("background_picture"), QStringLiteral("minimise_picture"),
                                    QStringLiteral("close_picture")};
        QTest::newRow("main, idle") << MainIdle
                                    << titleBand + QStringList{QStringLiteral("seal_picture")} + commandBar + commandBarEnd
                                    << QString() << false;
        QTest::newRow("main, cast shown")
            << MainWithCast
            << titleBand +
                   QStringList{QStringLiteral("primary_hexagram_text"), QStringLiteral("resulting_hexagram_text"),
                               QStringLiteral("changing_line_rule_label")} +
                   commandBar + QStringList{QStringLiteral("print_button")} + commandBarEnd
            << QString() << false;
        QTest::newRow("casting") << Casting
                                 << QStringList{QStringLiteral("diviner_name_field"), QStringLiteral("matter_field"),
                                                QStringLiteral("slower_button"),      QStringLiteral("faster_button"),
                                                QStringLiteral("automatic_button"),   QStringLiteral("step_button"),
                                                QStringLiteral("close_button")}
                                 << QStringLiteral("diviner_name_field") << false;
        QStringList manualOrder{QStringLiteral("cast_time_field"), QStringLiteral("diviner_name_field"),
                                QStringLiteral("matter_field")};
        for (int line = 1; line <= 6; ++line)
            manualOrder << QStringLiteral("line_box_%1").arg(line);
        for (int line = 1; line <= 6; ++line)
            manualOrder << QStringLiteral("changing_mark_%1").arg(line);
        manualOrder << QStringLiteral("confirm_button") << QStringLiteral("help_button") << QStringLiteral("close_button");
        QTest::newRow("manual entry") << ManualEntry << manualOrder << QStringLiteral("cast_time_field") << false;
        QTest::newRow("trigrams") << Trigrams
                                  << QStringList{QStringLiteral("discussion_of_trigrams_link"),
                                                 QStringLiteral("trigram_attributes_text"), QStringLiteral("close_button")}
                                  << QString() << true;
        QTest::newRow("options") << Options
                                 << QStringList{QStringLiteral("music_box"),        QStringLiteral("quotes_box"),
                                                QStringLiteral("print_translation_box"), QStringLiteral("today_tips_box"),
                                                QStringLiteral("web_page_button"),  QStringLiteral("date_time_button"),
                                                QStringLiteral("volume_button"),    QStringLiteral("reload_animation")}
                                 << QString() << false;
        QTest::newRow("about") << About << QStringList{QStringLiteral("about_text"), QStringLiteral("home_page_link")}
                               << QString() << false;
        QTest::newRow("calendar") << Calendar
                                  << QStringList{QStringLiteral("year_list"),    QStringLiteral("month_list"),
                                                 QStringLiteral("today_link"),   QStringLiteral("reset_button"),
                                                 QStringLiteral("export_year_button"), QStringLiteral("close_button")}
                                  << QString() << false;
        QTest::newRow("translation viewer")
            << Translation << QStringList{QStringLiteral("reference_link"), QStringLiteral("close_label")} << QString()
            << false;
        QTest::newRow("help") << Help
                              << QStringList{QStringLiteral("home_button"), QStringLiteral("close_button"),
                                             QStringLiteral("help_browser")}
                              << QString() << false;
    }

    void everyStopIsNamedAndEveryCommandTakesEnterAndSpace()
    {
        QFETCH(WindowMaker, make);
        QFETCH(QStringList, order);
        QFETCH(QString, firstFocus);
        QFETCH(bool, spaceIsTheWindows);

        WindowRig rig;
        make(rig);
        QWidget *window = rig.Shown();
        QVERIFY(QTest::qWaitForWindowActive(window));
        if (!firstFocus.isEmpty())
            QCOMPARE(window->focusWidget()->objectName(), firstFocus);

        const QList<QWidget *> chain = TabChain(window);
        qInfo().noquote() << "Tab order:" << NamesOf(chain).join(QStringLiteral(" → "));
        QVERIFY2(IsSubsequence(order, NamesOf(chain)), qPrintable(NamesOf(chain).join(u' ')));

        for (QWidget *stop : chain) {
            const QString where = stop->objectName();
            QVERIFY2(!AccessibleText(stop, QAccessible::Name).trimmed().isEmpty(), qPrintable(where));
            const std::unique_ptr<QSignalSpy> clicks = ClickSpyOf(stop);
            if (!clicks)
                continue;
            stop->setFocus();
            const bool isCheckBox = qobject_cast<QCheckBox *>(stop);
            if (!isCheckBox) {
                QTest::keyClick(stop, Qt::Key_Return);
                QVERIFY2(clicks->size() == 1, qPrintable(where + QStringLiteral(": Enter")));
            }
            if (spaceIsTheWindows)
                continue;
            clicks->clear();
            QTest::keyClick(stop, Qt::Key_Space);
            QVERIFY2(clicks->size() == 1, qPrintable(where + QStringLiteral(": Space")));
        }
    }

    void decorativePicturesAreNotAnnounced()
    {
        MainWindowRig rig;
        rig.window->show();
        for (const char *name : {"trigram_wheel_picture", "landscape_scroll_picture", "primary_line_1_picture"}) {
            QAccessibleInterface *picture =
                QAccessible::queryAccessibleInterface(rig.Control(QString::fromLatin1(name)));
            QVERIFY2(picture->state().invisible, name);
        }
        QAccessibleInterface *close = QAccessible::queryAccessibleInterface(rig.Control(QStringLiteral("close_picture")));
        QCOMPARE(close->role(), QAccessible::Button);
        QCOMPARE(close->text(QAccessible::Name), QStringLiteral("关闭程序"));
        QCOMPARE(close->text(QAccessible::Description), QStringLiteral("F12"));
        QVERIFY(!close->state().invisible);
    }

    void noControlIsNamedAfterAnInternalOperation()
    {
        MainWindowRig rig;
        for (QWidget *control : rig.window->findChildren<QWidget *>())
            QVERIFY2(AccessibleText(control, QAccessible::Name) != u"按钮失效", qPrintable(control->objectName()));
    }

    void theShownCastIsReadAsText_data()
    {
        QTest::addColumn<QStringList>("primaryCodes");
        QTest::addColumn<QString>("spoken");
        const auto codes = [](const char *list) { return QString::fromLatin1(list).split(u' '); };
        QTest::newRow("third line changing") << codes("1 1 11 1 1 1")
                                             << QStringLiteral("本卦 乾，六爻：阳阳阳阳阳阳，变爻：九三");
        QTest::newRow("no line changing") << codes("0 0 0 0 0 0") << QStringLiteral("本卦 坤，六爻：阴阴阴阴阴阴，无变爻");
        QTest::newRow("first and top lines") << codes("00 1 1 1 1 11")
                                             << QStringLiteral("本卦 姤，六爻：阴阳阳阳阳阳，变爻：初六、上九");
        QTest::newRow("second line yin") << codes("1 00 1 1 1 1")
                                         << QStringLiteral("本卦 同人，六爻：阳阴阳阳阳阳，变爻：六二");
    }

    void theShownCastIsReadAsText()
    {
        QFETCH(QStringList, primaryCodes);
        QFETCH(QString, spoken);
        QString lines;
        HexagramView hexagram;
        for (int line = 0; line < LinesPerHexagram; ++line) {
            hexagram.pictures[line] = primaryCodes[line];
            lines += primaryCodes[line].left(1);
        }
        hexagram.name = HexagramViewOf(lines).name;
        QCOMPARE(SpokenHexagram(QStringLiteral("本卦"), hexagram, true), spoken);
    }

    void theMainWindowsCastFramesSpeakTheCast()
    {
        MainWindowRig rig;
        rig.window->ShowCastView(SampleCast());
        auto *primary = rig.Control<QGroupBox>(QStringLiteral("primary_hexagram_frame"));
        auto *resulting = rig.Control<QGroupBox>(QStringLiteral("resulting_hexagram_frame"));
        QCOMPARE(AccessibleText(primary, QAccessible::Name), QStringLiteral("本卦 乾，六爻：阳阳阳阳阳阳，变爻：九三"));
        QCOMPARE(AccessibleText(resulting, QAccessible::Name), QStringLiteral("之卦 履，六爻：阳阳阴阳阳阳"));
        QCOMPARE(AccessibleText(primary, QAccessible::Description),
                 QStringLiteral("成卦时间：2024-3-5 9:08，姓名：张三，占筮事由：问前程，变爻推论规则：一爻变，以本卦变爻之辞占。"));
    }

    // Tab from the confirm command goes on to help and close; Tab from close
    // comes round to the time, which keeps its text, so a Space typed next
    // adds to it instead of wiping it.
    void manualEntryTabKeepsTheTime()
    {
        WindowRig rig;
        ManualEntry(rig);
        QWidget *window = rig.Shown();
        QVERIFY(QTest::qWaitForWindowActive(window));
        auto *time = RequireChild<QLineEdit>(*window, QStringLiteral("cast_time_field"));
        const QString filled = time->text();
        RequireChild(*window, QStringLiteral("confirm_button"))->setFocus();
        for (const char *next : {"help_button", "close_button", "cast_time_field"}) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget()->objectName(), QString::fromLatin1(next));
        }
        QTRY_VERIFY(!time->hasSelectedText());
        QTest::keyClick(time, Qt::Key_Space);
        QCOMPARE(time->text(), filled + u' ');
    }

    // The first Esc in a field with text empties it, the next closes the
    // window; an Esc whose press went elsewhere closes nothing.
    void escapeClearsAFieldThenCloses_data()
    {
        QTest::addColumn<WindowMaker>("make");
        QTest::addColumn<QString>("field");
        QTest::newRow("casting") << Casting << QStringLiteral("diviner_name_field");
        QTest::newRow("manual entry") << ManualEntry << QStringLiteral("cast_time_field");
        QTest::newRow("trigrams") << Trigrams << QString();
        QTest::newRow("options") << Options << QString();
        QTest::newRow("about") << About << QString();
        QTest::newRow("calendar") << Calendar << QString();
        QTest::newRow("translation viewer") << Translation << QString();
        QTest::newRow("help") << Help << QString();
    }

    void escapeClearsAFieldThenCloses()
    {
        QFETCH(WindowMaker, make);
        QFETCH(QString, field);
        WindowRig rig;
        make(rig);
        QWidget *window = rig.Shown();
        QVERIFY(QTest::qWaitForWindowActive(window));
        QWidget *target = window;
        if (!field.isEmpty()) {
            auto *edit = RequireChild<QLineEdit>(*window, field);
            edit->setText(QStringLiteral("某官"));
            edit->setFocus();
            QTest::keyClick(edit, Qt::Key_Escape);
            QCOMPARE(edit->text(), QString());
            QVERIFY(window->isVisible());
            target = edit;
        }
        QTest::keyRelease(target, Qt::Key_Escape);
        QVERIFY2(window->isVisible(), "a lone release closed the window");
        QTest::keyClick(target, Qt::Key_Escape);
        QTRY_VERIFY(!window->isVisible());
    }
};

QTEST_MAIN(KeyboardAccessTest)
#include "test_keyboard_access.moc"
