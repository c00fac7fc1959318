#include "core/changing_line_rules.h"
#include "record_window_rig.h"
#include "records/divination_record.h"
#include "records/recalled_cast.h"
#include "records/record_file.h"
#include "records/record_file_name.h"
#include "records/record_listing.h"
#include "records/record_pager.h"
#include "support/modal_watch.h"
#include "texts/hexagram_texts.h"
#include "ui/widgets/chinese_file_dialog.h"
#include "ui/windows/record_browser_window.h"

#include <QAction>
#include <QDir>
#include <QKeySequence>
#include <QAbstractProxyModel>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <deque>

namespace {

using Codes = std::array<QString, LinesPerHexagram>;

const QString Fixtures = QStringLiteral(RAVEZAZ_FIXTURES "/browser/");

DivinationRecord Unchanged(int number)
{
    return {QStringLiteral("2006-7-16 10:%1").arg(number), QStringLiteral("占者%1").arg(number),
            QStringLiteral("第%1事").arg(number), QStringLiteral("1"), QStringLiteral("111111"), QStringLiteral("乾"),
            QStringLiteral("未变爻"), QString(), QString(), QString()};
}

// A cast whose lines 2 and 5 change; numbers and names are looked up.
DivinationRecord TwoChanging()
{
    const QString primary = QStringLiteral("101000");
    const QString resulting = QStringLiteral("111010");
    return {QStringLiteral("2006-7-17 8:00:00"), QStringLiteral("李四"), QStringLiteral("问路"),
            QString::number(HexagramNumberOf(primary)), primary, HexagramNameOf(HexagramNumberOf(primary)),
            QStringLiteral("变2爻"), QString::number(HexagramNumberOf(resulting)), resulting,
            HexagramNameOf(HexagramNumberOf(resulting))};
}

QByteArray Casts(int count)
{
    QByteArray bytes;
    for (int number = 1; number <= count; ++number)
        bytes += FormatRecordLine(Unchanged(number));
    return bytes;
}

// Answers the open and save dialogs from queues; Cancel when empty.
class AnsweringFileDialogs final : public RecordFileDialogs {
public:
    std::optional<QString> ChooseFileToOpen(QWidget *, const QString &folder) override
    {
        folders << folder;
        return Next(openAnswers);
    }
    std::optional<QString> ChooseFileToSave(QWidget *, const QString &folder) override
    {
        folders << folder;
        return Next(saveAnswers);
    }

    std::deque<QString> openAnswers;
    std::deque<QString> saveAnswers;
    QStringList folders; // where each dialog was opened

private:
    static std::optional<QString> Next(std::deque<QString> &answers)
    {
        if (answers.empty())
            return std::nullopt;
        const QString answer = answers.front();
        answers.pop_front();
        return answer;
    }
};

// The rig's wait before a missing file is reported, instead of a second.
constexpr int QuickNoticeDelayMs = 50;

// A record browser over a main window, with the default record file in a
// temporary folder.
struct BrowserRig {
    MainWindowUnderTest main;
    CastResult castInHand;
    AnsweringFileDialogs files;
    QTemporaryDir folder;
    QString recordPath = folder.filePath(QStringLiteral("filelog.kdf"));
    std::unique_ptr<RecordBrowserWindow> window;

    explicit BrowserRig(const QByteArray &records) { QVERIFY(WriteFileBytes(recordPath, records)); }
    BrowserRig() = default;

    RecordBrowserServices Services()
    {
        RecordBrowserServices services;
        services.dialogs = &main.dialogs;
        services.fileDialogs = &files;
        services.effects = &main.effects;
        services.programFolder = TestProgramFolder;
        services.recordFilePath = recordPath;
        services.notFoundDelayMs = QuickNoticeDelayMs;
        return services;
    }

    void Open()
    {
        window = std::make_unique<RecordBrowserWindow>(Services(), castInHand, *main.display);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }

    template <typename Control = QWidget>
    Control *Find(const char *name) const
    {
        return RequireChild<Control>(*window, QString::fromLatin1(name));
    }

    QString Text(const char *name) const { return Find<QLabel>(name)->text(); }
    QPlainTextEdit *List() const { return Find<QPlainTextEdit>("records_list"); }
    QString Listing() const { return List()->toPlainText(); }
    QString RecordNumber() const { return Find<QLineEdit>("record_number_field")->text(); }
    QAction *Item(const char *name) const { return Find<QAction>(name); }
    bool Enabled(const char *name) const { return Find(name)->isEnabled(); }

    // The enabled page commands, by their names.
    QStringList EnabledPageCommands() const
    {
        QStringList enabled;
        for (const char *name :
             {"go_button", "first_page_button", "previous_page_button", "next_page_button", "last_page_button"})
            if (Enabled(name))
                enabled << QString::fromLatin1(name);
        return enabled;
    }

    void Click(const char *name) { QTest::mouseClick(Find(name), Qt::LeftButton); }
    void Key(int key) { QTest::keyClick(List(), Qt::Key(key)); }

    void GoToPage(const QString &typed)
    {
        Find<QLineEdit>("page_field")->setText(typed);
        Click("go_button");
    }

    // A click in the list at a character of the listing.
    void ClickListAt(qsizetype position)
    {
        QTextCursor cursor = List()->textCursor();
        cursor.setPosition(int(position));
        QTest::mouseClick(List()->viewport(), Qt::LeftButton, {}, List()->cursorRect(cursor).center());
    }

    void ClickEntry(qint64 number, qsizetype offset = 10)
    {
        const qsizetype start = Listing().indexOf(QStringLiteral(" №<%1>").arg(number));
        QVERIFY2(start >= 0, qPrintable(QString::number(number)));
        ClickListAt(start + offset);
    }
};

// Yes/No questions are answered by the rig; this finds the last one asked.
QString LastQuestion(const FakeDialogs &dialogs)
{
    for (auto box = dialogs.boxes.rbegin(); box != dialogs.boxes.rend(); ++box)
        if (box->icon == DialogService::Icon::Question)
            return box->title + u'|' + box->text;
    return {};
}

constexpr int NoticeTimeoutMs = 3000;

} // namespace

Q_DECLARE_METATYPE(DivinationRecord)
Q_DECLARE_METATYPE(PageCommands)
Q_DECLARE_METATYPE(PageRange)

class RecordBrowserTest : public QObject {
    Q_OBJECT

private slots:
    void pagesHoldTwentyRecords_data()
    {
        QTest::addColumn<qint64>("records");
        QTest::addColumn<qint64>("pages");
        QTest::addColumn<QString>("countLine");
        QTest::newRow("none") << qint64(0) << qint64(0) << QStringLiteral("共有 0 条记录（共 0 页，每页最多显示 20 条记录。）");
        QTest::newRow("one") << qint64(1) << qint64(1) << QStringLiteral("共有 1 条记录（共 1 页，每页最多显示 20 条记录。）");
        QTest::newRow("twenty") << qint64(20) << qint64(1) << QStringLiteral("共有 20 条记录（共 1 页，每页最多显示 20 条记录。）");
        QTest::newRow("twenty-one") << qint64(21) << qint64(2) << QStringLiteral("共有 21 条记录（共 2 页，每页最多显示 20 条记录。）");
        QTest::newRow("a million") << qint64(1000000) << qint64(50000)
                                   << QStringLiteral("共有 1000000 条记录（共 50000 页，每页最多显示 20 条记录。）");
    }
    void pagesHoldTwentyRecords()
    {
        QFETCH(qint64, records);
        QFETCH(qint64, pages);
        QFETCH(QString, countLine);
        QCOMPARE(PageCountOf(records), pages);
        QCOMPARE(RecordCountLine(records), countLine);
    }

    void typedPagesAreKeptInRange_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<qint64>("page");
        QTest::addColumn<qint64>("first");
        QTest::addColumn<bool>("toEnd");
        QTest::addColumn<PageCommands>("commands");
        const PageCommands onFirst{true, false, false, true, true};
        const PageCommands onLast{true, true, true, false, false};
        QTest::newRow("0") << "0" << qint64(1) << qint64(1) << false << onFirst;
        QTest::newRow("-3") << "-3" << qint64(1) << qint64(1) << false << onFirst;
        QTest::newRow("999") << "999" << qint64(3) << qint64(41) << true << onLast;
        QTest::newRow("middle with blanks") << " 2 " << qint64(2) << qint64(21) << false
                                            << PageCommands{true, true, true, true, true};
    }
    void typedPagesAreKeptInRange()
    {
        QFETCH(QString, typed);
        QFETCH(qint64, page);
        QFETCH(qint64, first);
        QFETCH(bool, toEnd);
        QFETCH(PageCommands, commands);
        RecordPager pager;
        pager.Reset(55);
        const std::optional<PageRange> range = pager.GoTo(typed);
        QVERIFY(range);
        QCOMPARE(pager.CurrentPage(), page);
        QCOMPARE(range->first, first);
        QCOMPARE(range->toEnd, toEnd);
        if (!toEnd)
            QCOMPARE(range->last, first + 19);
        QCOMPARE(pager.Commands(), commands);
    }

    void typedTextThatIsNoNumberIsIgnored_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::newRow("letters") << "abc";
        QTest::newRow("empty") << "";
        QTest::newRow("number and letters") << "2a";
        QTest::newRow("fraction") << "1.5";
    }
    void typedTextThatIsNoNumberIsIgnored()
    {
        QFETCH(QString, typed);
        RecordPager pager;
        pager.Reset(55);
        pager.Last();
        QVERIFY(!pager.GoTo(typed));
        QCOMPARE(pager.CurrentPage(), qint64(3));
    }

    void pageStepsStopAtTheEnds()
    {
        RecordPager pager;
        pager.Reset(41);
        pager.Last();
        QCOMPARE(pager.Previous(), (PageRange{21, 40, false}));
        QCOMPARE(pager.Commands(), (PageCommands{true, true, true, true, true}));
        QCOMPARE(pager.Previous(), (PageRange{1, 20, false}));
        QCOMPARE(pager.Previous(), (PageRange{1, 20, false}));
        QCOMPARE(pager.CurrentPage(), qint64(1));
        QCOMPARE(pager.Next(), (PageRange{21, 40, false}));
        QCOMPARE(pager.Next(), (PageRange{41, 60, true}));
        QCOMPARE(pager.Next(), (PageRange{41, 60, true}));
        QCOMPARE(pager.CurrentPage(), qint64(3));
    }

    void aClickFindsTheEntryOfItsLine_data()
    {
        const QString listing = QStringLiteral(" №<21>\"时间:a\",\"姓名:b\"\r\n №<22>\"时间: №<9>\"\r\n №<40000>\"x\"\r\n");
        QTest::addColumn<QString>("listing");
        QTest::addColumn<qsizetype>("caret");
        QTest::addColumn<qint64>("number");
        QTest::newRow("start of the listing") << listing << qsizetype(0) << qint64(21);
        QTest::newRow("inside the first entry") << listing << listing.indexOf(u"姓名") << qint64(21);
        QTest::newRow("a marker inside a stored text") << listing << listing.indexOf(u"<9>") + 1 << qint64(22);
        QTest::newRow("a number above 32767") << listing << listing.indexOf(u"\"x") << qint64(40000);
        QTest::newRow("after the last entry") << listing << listing.size() << qint64(40000);
        QTest::newRow("far past the end") << listing << listing.size() + 50 << qint64(40000);
        const QString shown = ListingForDisplay(listing);
        QTest::newRow("line feeds only") << shown << shown.indexOf(u"<9>") << qint64(22);
        QTest::newRow("blank listing") << QStringLiteral(" \r\n ") << qsizetype(1) << qint64(0);
        QTest::newRow("no marker") << QStringLiteral("hello\r\nworld") << qsizetype(8) << qint64(0);
    }
    void aClickFindsTheEntryOfItsLine()
    {
        QFETCH(QString, listing);
        QFETCH(qsizetype, caret);
        QFETCH(qint64, number);
        const std::optional<ListingEntry> entry = ListingEntryAt(listing, caret);
        QCOMPARE(entry ? entry->number : 0, number);
        if (entry)
            QVERIFY(listing.mid(entry->start, entry->end - entry->start).startsWith(QStringLiteral(" №<%1>").arg(number)));
    }

    void listingsShowOneModestLinePerEntry()
    {
        const QString longLine(5000, u'长');
        const QString listing = QStringLiteral(" №<1>a") + QChar(0) + QStringLiteral("b\rc\r\n №<2>") + longLine + QStringLiteral("\r\n");
        const QString shown = ListingForDisplay(listing);
        const QStringList lines = shown.split(u'\n');
        QCOMPARE(lines.size(), 3);
        QCOMPARE(lines[0], QStringLiteral(" №<1>a\uFFFDb\uFFFDc"));
        QCOMPARE(lines[1].size(), ListingLineShownLength + 1);
        QVERIFY(lines[1].endsWith(u'…'));
        QVERIFY(lines[2].isEmpty());
    }

    void saveAsNamesEndInKdf_data()
    {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("saved");
        QTest::newRow("doubled extension") << "/home/u/a.kdf.kdf" << "/home/u/a.kdf";
        QTest::newRow("no extension") << "/home/u/b" << "/home/u/b.kdf";
        QTest::newRow("extension inside the name") << "c.kdf.bak" << "c.bak.kdf";
        QTest::newRow("other case is not the extension") << "d.KDF" << "d.KDF.kdf";
        QTest::newRow("folder named like a record file") << "/home/u/old.kdf/e" << "/home/u/old.kdf/e.kdf";
    }
    void saveAsNamesEndInKdf()
    {
        QFETCH(QString, chosen);
        QFETCH(QString, saved);
        QCOMPARE(SaveAsRecordFilePath(chosen), saved);
    }

    void recallShowsTheStoredFields_data()
    {
        QTest::addColumn<DivinationRecord>("record");
        QTest::addColumn<bool>("resultingShown");
        QTest::addColumn<QString>("rule");
        QTest::addColumn<QStringList>("primaryCodes");
        QTest::addColumn<QStringList>("resultingCodes");
        QTest::newRow("未变爻") << Unchanged(1) << false << ChangingLineRule(0) << QStringList(6, QStringLiteral("1"))
                                << QStringList(6, QString());
        QTest::newRow("变2爻") << TwoChanging() << true << ChangingLineRule(2)
                               << QStringList{"1", "00", "1", "0", "00", "0"} << QStringList{"1", "11", "1", "0", "11", "0"};
        DivinationRecord strangeField = TwoChanging();
        strangeField.changingLines = QStringLiteral("变7爻");
        QTest::newRow("unknown changing-line field") << strangeField << true << ChangingLineRule(0)
                                                     << QStringList{"1", "00", "1", "0", "00", "0"}
                                                     << QStringList{"1", "11", "1", "0", "11", "0"};
        DivinationRecord damagedResult = TwoChanging();
        damagedResult.resultingLines = QStringLiteral("1O1O11");
        QTest::newRow("damaged resulting lines") << damagedResult << false << ChangingLineRule(2)
                                                 << QStringList{"1", "0", "1", "0", "0", "0"} << QStringList(6, QString());
        DivinationRecord sevenFields = TwoChanging();
        sevenFields.resultingNumber.clear();
        sevenFields.resultingLines.clear();
        sevenFields.resultingName.clear();
        QTest::newRow("seven fields") << sevenFields << false << ChangingLineRule(2)
                                      << QStringList{"1", "0", "1", "0", "0", "0"} << QStringList(6, QString());
    }
    void recallShowsTheStoredFields()
    {
        QFETCH(DivinationRecord, record);
        QFETCH(bool, resultingShown);
        QFETCH(QString, rule);
        QFETCH(QStringList, primaryCodes);
        QFETCH(QStringList, resultingCodes);
        const std::optional<RecalledCast> recall = RecallRecord(record);
        QVERIFY(recall);
        const CastResolution &recalled = recall->resolution;
        QCOMPARE(recalled.castTime, record.castTime);
        QCOMPARE(recalled.primary.number, record.primaryNumber);
        QCOMPARE(recalled.primary.name, record.primaryName);
        QCOMPARE(recalled.primary.text, HexagramText(HexagramNumberOf(record.primaryLines)));
        QCOMPARE(recalled.resultingShown, resultingShown);
        QCOMPARE(recalled.ruleText, rule);
        QCOMPARE(QStringList(recalled.primary.pictures.begin(), recalled.primary.pictures.end()), primaryCodes);
        QCOMPARE(QStringList(recalled.resulting.pictures.begin(), recalled.resulting.pictures.end()), resultingCodes);
        QCOMPARE(recall->cast.primaryLines, record.primaryLines);
        QCOMPARE(recall->cast.castTime, record.castTime);
        QCOMPARE(recall->cast.divinerName, record.divinerName);
        QCOMPARE(recall->cast.matterText, record.matterText);
        QCOMPARE(recall->cast.lineValues, (std::array<int, LinesPerHexagram>{}));
    }

    void recallRefusesARecordWithoutAHexagram_data()
    {
        QTest::addColumn<QString>("primaryLines");
        QTest::newRow("empty") << "";
        QTest::newRow("letter") << "11x111";
        QTest::newRow("too short") << "11111";
        QTest::newRow("too long") << "1111111";
    }
    void recallRefusesARecordWithoutAHexagram()
    {
        QFETCH(QString, primaryLines);
        DivinationRecord record = TwoChanging();
        record.primaryLines = primaryLines;
        QVERIFY(!RecallRecord(record));
    }

    void openingShowsTheLastPage_data()
    {
        QTest::addColumn<int>("records");
        QTest::addColumn<QString>("page");
        QTest::addColumn<QString>("firstEntry");
        QTest::addColumn<int>("entries");
        QTest::addColumn<QStringList>("enabledCommands");
        QTest::newRow("twenty") << 20 << "第 1 页" << " №<1>" << 20 << QStringList();
        QTest::newRow("twenty-one") << 21 << "第 2 页" << " №<21>" << 1
                                    << QStringList{"go_button", "first_page_button", "previous_page_button"};
        QTest::newRow("sixty-five") << 65 << "第 4 页" << " №<61>" << 5
                                    << QStringList{"go_button", "first_page_button", "previous_page_button"};
        QTest::newRow("empty file") << 0 << "第 0 页" << "" << 0 << QStringList();
    }
    void openingShowsTheLastPage()
    {
        QFETCH(int, records);
        QFETCH(QString, page);
        QFETCH(QString, firstEntry);
        QFETCH(int, entries);
        QFETCH(QStringList, enabledCommands);
        BrowserRig rig(Casts(records));
        rig.Open();
        QCOMPARE(rig.Text("record_count_label"), RecordCountLine(records));
        QCOMPARE(rig.Text("page_caption"), page);
        QVERIFY(rig.Listing().startsWith(firstEntry));
        QCOMPARE(rig.Listing().count(QStringLiteral(" №<")), entries);
        QCOMPARE(rig.EnabledPageCommands(), enabledCommands);
        QVERIFY(rig.Enabled("read_button"));
        QCOMPARE(rig.RecordNumber(), QStringLiteral("0"));
        QVERIFY(rig.Find<QLineEdit>("page_field")->text().isEmpty());
        QCOMPARE(rig.window->windowTitle(), QStringLiteral("默认记录文件(") + rig.recordPath + u')');
        QVERIFY(!rig.Item("open_default_file_action")->isEnabled());
        QVERIFY(!rig.Item("delete_record_action")->isEnabled());
        QCOMPARE(rig.Item("delete_record_action")->text(), QStringLiteral("删除选中的记录"));
        QVERIFY(rig.main.dialogs.boxes.empty());
    }

    void theMenuHoldsItsFiveItems()
    {
        BrowserRig rig(Casts(1));
        rig.Open();
        const auto *menu = rig.Find<QMenu>("file_menu");
        QCOMPARE(menu->title(), QStringLiteral("文件"));
        QStringList items;
        for (const QAction *action : menu->actions())
            items << (action->isSeparator() ? QStringLiteral("-") : action->objectName() + u'=' + action->text());
        QCOMPARE(items, (QStringList{QStringLiteral("open_other_file_action=打开其它记录文件"), QStringLiteral("-"),
                                     QStringLiteral("open_default_file_action=默认记录文件"), QStringLiteral("-"),
                                     QStringLiteral("save_as_action=记录文件另存为..."), QStringLiteral("-"),
                                     QStringLiteral("delete_record_action=删除选中的记录"), QStringLiteral("-"),
                                     QStringLiteral("exit_action=退出 F12")}));
    }

    void thePageBoxGoesToTheTypedPage_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("page");
        QTest::addColumn<QString>("firstEntry");
        QTest::newRow("0") << "0" << "第 1 页" << " №<1>";
        QTest::newRow("-3") << "-3" << "第 1 页" << " №<1>";
        QTest::newRow("999") << "999" << "第 4 页" << " №<61>";
        QTest::newRow("2") << "2" << "第 2 页" << " №<21>";
        QTest::newRow("abc is ignored") << "abc" << "第 4 页" << " №<61>";
    }
    void thePageBoxGoesToTheTypedPage()
    {
        QFETCH(QString, typed);
        QFETCH(QString, page);
        QFETCH(QString, firstEntry);
        BrowserRig rig(Casts(65));
        rig.Open();
        rig.GoToPage(typed);
        QCOMPARE(rig.Text("page_caption"), page);
        QVERIFY2(rig.Listing().startsWith(firstEntry), qPrintable(rig.Listing().left(20)));
        QVERIFY(rig.Find<QLineEdit>("page_field")->text().isEmpty());
        QCOMPARE(rig.main.effects.played.last(), ProgramSound("/wav/s1.wav"));
    }

    void pageKeysPressThePageCommands()
    {
        BrowserRig rig(Casts(65));
        rig.Open();
        rig.Key(Qt::Key_Home);
        QCOMPARE(rig.Text("page_caption"), QStringLiteral("第 1 页"));
        QCOMPARE(rig.EnabledPageCommands(), (QStringList{"go_button", "next_page_button", "last_page_button"}));
        rig.Key(Qt::Key_PageUp);
        QCOMPARE(rig.Text("page_caption"), QStringLiteral("第 1 页"));
        rig.Key(Qt::Key_PageDown);
        rig.Key(Qt::Key_PageDown);
        QCOMPARE(rig.Text("page_caption"), QStringLiteral("第 3 页"));
        QVERIFY(rig.Listing().startsWith(QStringLiteral(" №<41>")));
        QCOMPARE(rig.Listing().count(QStringLiteral(" №<")), 20);
        QCOMPARE(rig.EnabledPageCommands(), (QStringList{"go_button", "first_page_button", "previous_page_button",
                                                         "next_page_button", "last_page_button"}));
        rig.Key(Qt::Key_End);
        QCOMPARE(rig.Text("page_caption"), QStringLiteral("第 4 页"));
        rig.Key(Qt::Key_PageDown);
        QCOMPARE(rig.Text("page_caption"), QStringLiteral("第 4 页"));
        rig.Key(Qt::Key_PageUp);
        QCOMPARE(rig.Text("page_caption"), QStringLiteral("第 3 页"));
        QCOMPARE(rig.Find("first_page_button")->toolTip(), QStringLiteral("到第一页(Home)"));
        QCOMPARE(rig.Find("last_page_button")->toolTip(), QStringLiteral("最后一页(End)"));
    }

    // Home and End in the find box move through the typed text; the page
    // and the selected record stay, so 查找 goes on after that record.
    void homeAndEndInTheFindBoxMoveTheCaret()
    {
        BrowserRig rig(Casts(65));
        rig.Open();
        rig.ClickEntry(63);
        auto *find = rig.Find<QLineEdit>("find_field");
        find->setFocus();
        find->setText(QStringLiteral("占者"));
        QTest::keyClick(find, Qt::Key_Home);
        QCOMPARE(find->cursorPosition(), 0);
        QTest::keyClick(find, Qt::Key_End);
        QCOMPARE(find->cursorPosition(), 2);
        QCOMPARE(rig.Text("page_caption"), QStringLiteral("第 4 页"));
        QCOMPARE(rig.RecordNumber(), QStringLiteral("63"));
    }

    void clickingAnEntrySelectsItsRecord()
    {
        BrowserRig rig(Casts(40));
        rig.Open();
        rig.GoToPage(QStringLiteral("1"));
        rig.ClickEntry(3, 25);
        QCOMPARE(rig.RecordNumber(), QStringLiteral("3"));
        QCOMPARE(rig.Item("delete_record_action")->text(), QStringLiteral("删除第 3 号记录"));
        QVERIFY(rig.Item("delete_record_action")->isEnabled());
        QCOMPARE(rig.List()->textCursor().selectedText(), rig.Listing().split(u'\n')[2]);

        rig.ClickEntry(17, 1);
        QCOMPARE(rig.RecordNumber(), QStringLiteral("17"));

        // A new listing drops the selection.
        rig.Key(Qt::Key_PageDown);
        QCOMPARE(rig.RecordNumber(), QStringLiteral("0"));
        QVERIFY(!rig.Item("delete_record_action")->isEnabled());
        QCOMPARE(rig.Item("delete_record_action")->text(), QStringLiteral("删除选中的记录"));
    }

    void clickingAfterTheLastEntrySelectsTheLastEntry()
    {
        BrowserRig rig(Casts(23));
        rig.Open();
        QTest::mouseClick(rig.List()->viewport(), Qt::LeftButton, {},
                          QPoint(20, rig.List()->viewport()->height() - 10));
        QCOMPARE(rig.RecordNumber(), QStringLiteral("23"));
    }

    void arrowKeysSelectTheEntryAtTheCaret()
    {
        BrowserRig rig(Casts(30));
        rig.Open();
        rig.ClickEntry(22);
        QTest::keyClick(rig.List(), Qt::Key_Down);
        QCOMPARE(rig.RecordNumber(), QStringLiteral("23"));
        QTest::keyClick(rig.List(), Qt::Key_Up);
        QTest::keyClick(rig.List(), Qt::Key_Up);
        QCOMPARE(rig.RecordNumber(), QStringLiteral("21"));
        QCOMPARE(rig.Item("delete_record_action")->text(), QStringLiteral("删除第 21 号记录"));
    }

    void readShowsAnUnchangedRecord()
    {
        BrowserRig rig(Casts(3));
        rig.Open();
        rig.ClickEntry(2);
        rig.Click("read_button");
        QVERIFY(!rig.window->isVisible());
        QCOMPARE(rig.window->result(), int(QDialog::Accepted));
        QCOMPARE(rig.main.Text("cast_time_label"), QStringLiteral("2006-7-16 10:2"));
        QCOMPARE(rig.main.Text("diviner_name_label"), QStringLiteral("占者2"));
        QCOMPARE(rig.main.Text("matter_label"), QStringLiteral("第2事"));
        QCOMPARE(rig.main.Text("primary_hexagram_name_label"), QStringLiteral("乾"));
        QCOMPARE(rig.main.Text("primary_hexagram_number_label"), QStringLiteral("1"));
        QCOMPARE(rig.main.Text("changing_line_rule_label"), ChangingLineRule(0));
        QVERIFY(rig.main.Shown("primary_hexagram_frame"));
        QVERIFY(!rig.main.Shown("resulting_hexagram_frame"));
        QVERIFY(!rig.main.Shown("trigram_wheel_picture"));
        QVERIFY(rig.main.Find("print_button")->isEnabled());
        QCOMPARE(rig.main.LineCodes("primary"), QStringList(6, QStringLiteral("1")));
        QCOMPARE(rig.castInHand.primaryLines, QStringLiteral("111111"));
        // An unchanged record stores no resulting hexagram.
        QVERIFY(rig.castInHand.resultingLines.isEmpty());
        QCOMPARE(rig.castInHand.divinerName, QStringLiteral("占者2"));
    }

    void readShowsTheChangedLinesInRed()
    {
        BrowserRig rig(Casts(2) + FormatRecordLine(TwoChanging()));
        rig.Open();
        rig.ClickEntry(3);
        rig.Click("read_button");
        QVERIFY(!rig.window->isVisible());
        QVERIFY(rig.main.Shown("primary_hexagram_frame"));
        QVERIFY(rig.main.Shown("resulting_hexagram_frame"));
        QCOMPARE(rig.main.Text("changing_line_rule_label"), ChangingLineRule(2));
        QCOMPARE(rig.main.Text("resulting_hexagram_name_label"), TwoChanging().resultingName);
        QCOMPARE(rig.main.Text("resulting_hexagram_lines_label"), QStringLiteral("111010"));
        QCOMPARE(rig.main.LineCodes("primary"), (QStringList{"1", "00", "1", "0", "00", "0"}));
        QCOMPARE(rig.main.LineCodes("resulting"), (QStringList{"1", "11", "1", "0", "11", "0"}));
        QCOMPARE(rig.main.Find<QPlainTextEdit>(QStringLiteral("resulting_hexagram_text"))->toPlainText(),
                 HexagramText(HexagramNumberOf(u"111010")).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    }

    void readWithoutARecordSaysSo_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<qint64>("entry");
        QTest::addColumn<QString>("message");
        const QString damaged = QStringLiteral("此条记录已损坏，无法读取。");
        QTest::newRow("nothing selected") << QString() << qint64(0) << QStringLiteral("没有找到此条记录。");
        QTest::newRow("damaged primary lines") << "damaged-line-strings.kdf" << qint64(1) << damaged;
        QTest::newRow("another encoding") << "utf8-encoded.kdf" << qint64(1) << damaged;
        QTest::newRow("a line of another shape") << "other-shapes.kdf" << qint64(2) << damaged;
        QTest::newRow("not a record file") << "not-a-record-file.kdf" << qint64(30) << damaged;
    }
    void readWithoutARecordSaysSo()
    {
        QFETCH(QString, file);
        QFETCH(qint64, entry);
        QFETCH(QString, message);
        BrowserRig rig(file.isEmpty() ? Casts(3) : FileBytes(Fixtures + file));
        rig.Open();
        const QStringList before = rig.main.LineCodes("primary");
        if (entry > 0)
            rig.ClickEntry(entry, 3);
        rig.Click("read_button");
        QCOMPARE(rig.main.dialogs.Texts(), QStringList{message});
        QCOMPARE(rig.main.dialogs.boxes[0].title, QStringLiteral("Ravezaz"));
        QCOMPARE(rig.RecordNumber(), QStringLiteral("0"));
        QVERIFY(rig.window->isVisible());
        for (const char *name : {"close_button", "read_button", "go_button", "first_page_button", "last_page_button"})
            QVERIFY2(rig.Find(name)->isVisible(), name);
        QVERIFY(!rig.main.Shown("primary_hexagram_frame"));
        QCOMPARE(rig.main.LineCodes("primary"), before);
    }

    void aDamagedResultingHexagramIsNotShown()
    {
        BrowserRig rig(FileBytes(Fixtures + QStringLiteral("damaged-line-strings.kdf")));
        rig.Open();
        rig.ClickEntry(2, 3);
        rig.Click("read_button");
        QVERIFY(!rig.window->isVisible());
        QVERIFY(rig.main.Shown("primary_hexagram_frame"));
        QVERIFY(!rig.main.Shown("resulting_hexagram_frame"));
        QCOMPARE(rig.main.Text("diviner_name_label"), QStringLiteral("李四"));
        QCOMPARE(rig.main.LineCodes("primary"), QStringList(6, QStringLiteral("1")));
    }

    void filesOfOtherKindsAreListed_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("records");
        // Its CR bytes end lines too, as in files from old Mac editors.
        QTest::newRow("not a record file") << "not-a-record-file.kdf" << 30;
        QTest::newRow("another encoding") << "utf8-encoded.kdf" << 1;
        QTest::newRow("lines of other shapes") << "other-shapes.kdf" << 5;
    }
    void filesOfOtherKindsAreListed()
    {
        QFETCH(QString, file);
        QFETCH(int, records);
        BrowserRig rig(FileBytes(Fixtures + file));
        rig.Open();
        QCOMPARE(rig.Text("record_count_label"), RecordCountLine(records));
        QVERIFY(rig.Listing().contains(QStringLiteral(" №<%1>").arg(records)));
        for (const QString &line : rig.Listing().split(u'\n', Qt::SkipEmptyParts))
            QVERIFY(line.startsWith(QStringLiteral(" №<")));
    }

    void deletingAsksAndReloads()
    {
        BrowserRig rig(Casts(2));
        rig.Open();
        rig.ClickEntry(1);
        rig.main.dialogs.yesNoAnswers = {false};
        rig.Item("delete_record_action")->trigger();
        QCOMPARE(LastQuestion(rig.main.dialogs), QStringLiteral("删除记录文件|将要彻底删除第 1 号记录!\n确定要删除吗?"));
        QVERIFY(!rig.main.dialogs.boxes.back().yesIsDefault);
        QCOMPARE(FileBytes(rig.recordPath), Casts(2));

        rig.main.dialogs.yesNoAnswers = {true};
        rig.Item("delete_record_action")->trigger();
        QCOMPARE(rig.main.dialogs.Texts().last(), QStringLiteral("所选记录已成功删除!\n系统将重新读取刷新记录文件。"));
        QCOMPARE(FileBytes(rig.recordPath), FormatRecordLine(Unchanged(2)));
        QCOMPARE(rig.Text("page_caption"), QStringLiteral("第 1 页"));
        QCOMPARE(rig.Text("record_count_label"), RecordCountLine(1));
        QVERIFY(rig.Listing().startsWith(QStringLiteral(" №<1>\"时间:2006-7-16 10:2\"")));
        QCOMPARE(rig.RecordNumber(), QStringLiteral("0"));
        QVERIFY(!rig.Item("delete_record_action")->isEnabled());
    }

    // Another program deleted record 1 after the page was listed: record 3
    // of the listing is now line 2, and line 3 holds another record.
    void aRecordChangedSinceListingIsNotDeleted()
    {
        BrowserRig rig(Casts(4));
        rig.Open();
        rig.ClickEntry(3);
        QCOMPARE(DeleteRecord(rig.recordPath, 1).status, RecordFileStatus::Done);
        const QByteArray changed = FileBytes(rig.recordPath);
        rig.main.dialogs.yesNoAnswers = {true};
        rig.Item("delete_record_action")->trigger();
        QCOMPARE(FileBytes(rig.recordPath), changed);
        QCOMPARE(rig.main.dialogs.Texts().last(),
                 QStringLiteral("记录文件已被其它程序改动，第 3 号记录已不是所选的记录，没有删除任何记录。\n"
                                "系统将重新读取刷新记录文件。"));
        QCOMPARE(rig.Text("record_count_label"), RecordCountLine(3));
        QVERIFY(!rig.Item("delete_record_action")->isEnabled());
    }

    void aSpecialFileIsNoRecordFile()
    {
        BrowserRig rig;
        rig.files.openAnswers = {QStringLiteral("/dev/zero")};
        rig.Open();
        rig.Item("open_other_file_action")->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(rig.main.dialogs.Texts().contains(QStringLiteral("不是记录文件。")), NoticeTimeoutMs);
        QVERIFY(!rig.Enabled("read_button"));
    }

    void deletingTheOnlyRecordEndsInTheNotFoundNotice()
    {
        BrowserRig rig(Casts(1));
        rig.Open();
        rig.ClickEntry(1);
        rig.main.dialogs.yesNoAnswers = {true};
        rig.Item("delete_record_action")->trigger();
        QVERIFY(!QFile::exists(rig.recordPath));
        QCOMPARE(rig.main.dialogs.Texts().last(),
                 QStringLiteral("所选记录已成功删除!\n现在记录文件为空。系统将彻底删除 ") + rig.recordPath +
                     QStringLiteral(" 文件！"));
        QTRY_COMPARE_WITH_TIMEOUT(rig.main.dialogs.Texts().last(), QStringLiteral("没有找到记录文件。"), NoticeTimeoutMs);
        QCOMPARE(rig.Text("record_count_label"), QStringLiteral("未有记录数据"));
        QVERIFY(rig.Listing().isEmpty());
        QVERIFY(!rig.Enabled("read_button"));
        QVERIFY(rig.EnabledPageCommands().isEmpty());
        QVERIFY(!rig.Item("save_as_action")->isEnabled());
        QVERIFY(rig.Item("open_other_file_action")->isEnabled());
    }

    // A file that could not be read, left for the default file before the
    // notice came: the notice is dropped, not shown over the default's listing.
    void aNoticeOfAFileLeftInTimeIsDropped()
    {
        BrowserRig rig(Casts(25));
        rig.files.openAnswers = {rig.folder.filePath(QStringLiteral("missing.kdf"))};
        rig.Open();
        rig.Item("open_other_file_action")->trigger();
        rig.Item("open_default_file_action")->trigger();

        auto *notice = rig.Find<QTimer>("not_found_timer");
        QTRY_VERIFY_WITH_TIMEOUT(!notice->isActive(), NoticeTimeoutMs);
        QCoreApplication::processEvents();
        QVERIFY(rig.main.dialogs.boxes.empty());
        QCOMPARE(rig.Text("record_count_label"), RecordCountLine(25));
        QVERIFY(rig.Enabled("read_button"));
        QVERIFY(rig.Listing().contains(QStringLiteral("占者25")));
    }

    void aMissingFileIsNoticedAfterTheDelay()
    {
        BrowserRig rig;
        rig.Open();
        QVERIFY(rig.main.dialogs.boxes.empty());
        QCOMPARE(rig.window->windowTitle(), QStringLiteral("查看占筮记录"));
        QTRY_COMPARE_WITH_TIMEOUT(rig.main.dialogs.Texts(), QStringList{QStringLiteral("没有找到记录文件。")},
                                  NoticeTimeoutMs);
        QVERIFY(!rig.Enabled("read_button"));
        QVERIFY(rig.window->isVisible());
    }

    // The record file is deleted by another program while its last page is
    // listed: every command on the stale listing says the file or the record
    // is gone, and nothing creates the file again.
    void aFileDeletedWhileListedIsReportedByEveryCommand_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QStringList>("messages");
        const QString noFile = QStringLiteral("没有找到记录文件。");
        QTest::newRow("read") << "read_button" << QStringList{QStringLiteral("没有找到此条记录。")};
        QTest::newRow("delete") << "delete_record_action"
                                << QStringList{QStringLiteral("无法删除第 21 号记录，记录文件没有改动。"), noFile};
        QTest::newRow("first page") << "first_page_button" << QStringList{noFile};
        QTest::newRow("save as") << "save_as_action"
                                 << QStringList{QStringLiteral("记录文件没有保存为 ") +
                                                QStringLiteral("%1。\n请检查文件夹是否存在、能否写入。")};
    }
    void aFileDeletedWhileListedIsReportedByEveryCommand()
    {
        QFETCH(QString, command);
        QFETCH(QStringList, messages);
        BrowserRig rig(Casts(21));
        rig.Open();
        rig.ClickEntry(21);
        QVERIFY(QFile::remove(rig.recordPath));
        const QString copy = rig.folder.filePath(QStringLiteral("copy.kdf"));
        rig.files.saveAnswers = {copy};
        rig.main.dialogs.yesNoAnswers = {true};
        if (command.endsWith(QStringLiteral("_action")))
            rig.Item(qPrintable(command))->trigger();
        else
            rig.Click(qPrintable(command));

        for (QString &message : messages)
            message = message.arg(QDir::toNativeSeparators(copy));
        const auto shownMessages = [&rig] {
            QStringList texts;
            for (const FakeDialogs::Box &box : rig.main.dialogs.boxes)
                if (box.icon != DialogService::Icon::Question)
                    texts << box.text;
            return texts;
        };
        QTRY_COMPARE_WITH_TIMEOUT(shownMessages(), messages, NoticeTimeoutMs);
        QVERIFY(rig.window->isVisible());
        QVERIFY(!QFile::exists(rig.recordPath));
        QVERIFY(!QFile::exists(copy));
        QVERIFY(!rig.main.Shown("primary_hexagram_frame"));
    }

    void anotherFileCanBeBrowsedAndLeft()
    {
        BrowserRig rig(Casts(3));
        rig.Open();
        const QString other = rig.folder.filePath(QStringLiteral("other.kdf"));
        QVERIFY(WriteFileBytes(other, Casts(25)));
        rig.Item("open_other_file_action")->trigger();
        QCOMPARE(rig.Text("record_count_label"), RecordCountLine(3));
        rig.files.openAnswers = {other};
        rig.Item("open_other_file_action")->trigger();
        QCOMPARE(rig.Text("record_count_label"), RecordCountLine(25));
        QCOMPARE(rig.Text("page_caption"), QStringLiteral("第 2 页"));
        QCOMPARE(rig.window->windowTitle(), QStringLiteral("记录文件(") + other + u')');
        QVERIFY(rig.Item("open_default_file_action")->isEnabled());

        rig.ClickEntry(22);
        rig.Click("read_button");
        QCOMPARE(rig.main.Text("diviner_name_label"), QStringLiteral("占者22"));
    }

    void theDefaultFileStaysReachableFromAnUnreadableFile()
    {
        BrowserRig rig(Casts(3));
        rig.Open();
        rig.files.openAnswers = {rig.folder.filePath(QStringLiteral("gone.kdf"))};
        rig.Item("open_other_file_action")->trigger();
        QTRY_COMPARE_WITH_TIMEOUT(rig.main.dialogs.Texts(), QStringList{QStringLiteral("没有找到记录文件。")},
                                  NoticeTimeoutMs);
        QVERIFY(rig.Item("open_default_file_action")->isEnabled());
        rig.Item("open_default_file_action")->trigger();
        QCOMPARE(rig.Text("record_count_label"), RecordCountLine(3));
        QVERIFY(rig.Enabled("read_button"));
    }

    void theDefaultFileComesBack()
    {
        BrowserRig rig(Casts(3));
        rig.Open();
        rig.files.openAnswers = {Fixtures + QStringLiteral("other-shapes.kdf")};
        rig.Item("open_other_file_action")->trigger();
        rig.Item("open_default_file_action")->trigger();
        QCOMPARE(rig.Text("record_count_label"), RecordCountLine(3));
        QCOMPARE(rig.window->windowTitle(), QStringLiteral("默认记录文件(") + rig.recordPath + u')');
        QVERIFY(!rig.Item("open_default_file_action")->isEnabled());
    }

    void saveAsCopiesTheBrowsedFile_data()
    {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("saved");
        QTest::newRow("a.kdf.kdf") << "a.kdf.kdf" << "a.kdf";
        QTest::newRow("b") << "b" << "b.kdf";
    }
    void saveAsCopiesTheBrowsedFile()
    {
        QFETCH(QString, chosen);
        QFETCH(QString, saved);
        BrowserRig rig(Casts(4));
        rig.Open();
        rig.files.saveAnswers = {rig.folder.filePath(chosen)};
        rig.Item("save_as_action")->trigger();
        QCOMPARE(FileBytes(rig.folder.filePath(saved)), Casts(4));
        QVERIFY(!QFile::exists(rig.folder.filePath(chosen)) || chosen == saved);
        QVERIFY(rig.main.dialogs.boxes.empty());
        QCOMPARE(rig.window->windowTitle(), QStringLiteral("默认记录文件(") + rig.recordPath + u')');
    }

    void saveAsAsksBeforeReplacingTheChangedName()
    {
        BrowserRig rig(Casts(4));
        rig.Open();
        const QString existing = rig.folder.filePath(QStringLiteral("a.kdf"));
        QVERIFY(WriteFileBytes(existing, "keep"));
        rig.files.saveAnswers = {rig.folder.filePath(QStringLiteral("a.kdf.kdf"))};
        rig.Item("save_as_action")->trigger();
        QCOMPARE(LastQuestion(rig.main.dialogs), QStringLiteral("记录文件另存为|") + existing +
                                                     QStringLiteral(" 已存在。\n要替换它吗?"));
        QCOMPARE(FileBytes(existing), QByteArray("keep"));
    }

    void aFailedSaveAsIsReported()
    {
        BrowserRig rig(Casts(4));
        rig.Open();
        const QString destination = rig.folder.filePath(QStringLiteral("missing/c.kdf"));
        rig.files.saveAnswers = {destination};
        rig.Item("save_as_action")->trigger();
        QCOMPARE(rig.main.dialogs.boxes.size(), size_t(1));
        QVERIFY(rig.main.dialogs.boxes[0].text.contains(destination));
        QCOMPARE(rig.main.dialogs.boxes[0].icon, DialogService::Icon::Warning);
    }

    void closeCommandsCloseTheWindow_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("close command") << "close_button";
        QTest::newRow("menu item") << "exit_action";
        QTest::newRow("F12") << "F12";
    }
    void closeCommandsCloseTheWindow()
    {
        QFETCH(QString, how);
        BrowserRig rig(Casts(2));
        rig.Open();
        if (how == u"F12")
            rig.Key(Qt::Key_F12);
        else if (how == u"exit_action")
            rig.Item("exit_action")->trigger();
        else
            rig.Click("close_button");
        QVERIFY(!rig.window->isVisible());
        QVERIFY(!rig.main.Shown("primary_hexagram_frame"));
    }

    // Tab walks the window as it is read; every stop says what it is.
    void tabWalksTheWindowInReadingOrder()
    {
        BrowserRig rig(Casts(65));
        rig.Open();
        // Picking a record comes first.
        QCOMPARE(QApplication::focusWidget(), rig.List());
        rig.GoToPage(QStringLiteral("2"));
        QCOMPARE(rig.EnabledPageCommands().size(), 5);
        rig.List()->setFocus();
        const QStringList order{"records_list",       "record_number_field", "read_button",
                                "page_field",         "go_button",           "first_page_button",
                                "previous_page_button", "next_page_button",  "last_page_button",
                                "close_button",       "find_field",          "find_button"};
        QStringList walked{QApplication::focusWidget()->objectName()};
        for (qsizetype stop = 1; stop < order.size() + 1; ++stop) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            walked << QApplication::focusWidget()->objectName();
        }
        QCOMPARE(walked, order + QStringList{"records_list"});
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
        QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("find_button"));
    }

    void everyControlSaysWhatItIs_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("description");
        QTest::newRow("find box") << "find_field" << "查找内容" << "姓名、所占何事或卦名；Enter 查找下一条记录";
        QTest::newRow("find") << "find_button" << "查找" << "Enter";
        QTest::newRow("list") << "records_list" << "占筮记录"
                              << "上下箭头选择记录，Enter 读取，Delete 删除，PageUp/PageDown 翻页";
        QTest::newRow("record number") << "record_number_field" << "当前记录号" << "";
        QTest::newRow("read") << "read_button" << "读取" << "在记录中按 Enter";
        QTest::newRow("page box") << "page_field" << "到第几页" << "Enter";
        QTest::newRow("go") << "go_button" << "确定" << "到所填的页，Enter";
        QTest::newRow("first page") << "first_page_button" << "到第一页" << "Home";
        QTest::newRow("previous page") << "previous_page_button" << "上一页" << "PageUp";
        QTest::newRow("next page") << "next_page_button" << "下一页" << "PageDown";
        QTest::newRow("last page") << "last_page_button" << "到最后页" << "End";
        QTest::newRow("close") << "close_button" << "关闭窗口" << "Esc、F12";
    }
    void everyControlSaysWhatItIs()
    {
        QFETCH(QString, control);
        QFETCH(QString, name);
        QFETCH(QString, description);
        BrowserRig rig(Casts(1));
        rig.Open();
        const QWidget *shown = rig.Find(qPrintable(control));
        QCOMPARE(shown->accessibleName(), name);
        QCOMPARE(shown->accessibleDescription(), description);
        QVERIFY(shown->focusPolicy() & Qt::TabFocus);
    }

    // Enter in the list reads back the entry the caret is on, whether it was
    // picked by a click, by the arrows, or not at all (the caret's entry).
    void enterInTheListReadsTheEntryAtTheCaret_data()
    {
        QTest::addColumn<QString>("picked");
        QTest::addColumn<QString>("matter");
        QTest::newRow("clicked") << "click 2" << "占筮事由：第2事";
        QTest::newRow("arrow down") << "down" << "占筮事由：第2事";
        QTest::newRow("caret only") << "" << "占筮事由：第1事";
    }
    void enterInTheListReadsTheEntryAtTheCaret()
    {
        QFETCH(QString, picked);
        QFETCH(QString, matter);
        BrowserRig rig(Casts(3));
        rig.Open();
        if (picked == u"click 2")
            rig.ClickEntry(2);
        else if (picked == u"down")
            rig.Key(Qt::Key_Down);
        rig.Key(Qt::Key_Return);
        QCOMPARE(rig.window->result(), int(QDialog::Accepted));
        QVERIFY(!rig.window->isVisible());
        QCOMPARE(rig.main.Text("matter_caption") + rig.main.Text("matter_label"), matter);
        QVERIFY(rig.main.dialogs.boxes.empty());
    }

    // A message box over the window closes on the press of Enter; the
    // release that then reaches the list reads nothing.
    void aReleaseOfEnterWithoutItsPressReadsNothing()
    {
        BrowserRig rig(Casts(3));
        rig.Open();
        QTest::keyRelease(rig.List(), Qt::Key_Return);
        QVERIFY(rig.window->isVisible());
        QVERIFY(!rig.main.Shown("primary_hexagram_frame"));
        rig.Key(Qt::Key_Return);
        QVERIFY(!rig.window->isVisible());
        QVERIFY(rig.main.Shown("primary_hexagram_frame"));
    }

    void enterInAnEmptyListDoesNothing()
    {
        BrowserRig rig(QByteArray{});
        rig.Open();
        rig.Key(Qt::Key_Return);
        QVERIFY(rig.window->isVisible());
        QVERIFY(rig.main.dialogs.boxes.empty());
    }

    // Delete in the list asks as the menu item does, for the selected entry
    // or, with none, for the entry at the caret; elsewhere it edits text.
    void deleteInTheListAsksToDeleteTheEntry_data()
    {
        QTest::addColumn<QString>("picked");
        QTest::addColumn<bool>("yes");
        QTest::addColumn<int>("deleted");
        QTest::newRow("clicked, yes") << "click 2" << true << 2;
        QTest::newRow("clicked, no") << "click 2" << false << 0;
        QTest::newRow("arrow up, yes") << "up" << true << 1;
        QTest::newRow("caret only, yes") << "" << true << 1;
    }
    void deleteInTheListAsksToDeleteTheEntry()
    {
        QFETCH(QString, picked);
        QFETCH(bool, yes);
        QFETCH(int, deleted);
        BrowserRig rig(Casts(3));
        rig.Open();
        if (picked == u"click 2")
            rig.ClickEntry(2);
        else if (picked == u"up")
            rig.Key(Qt::Key_Up);
        rig.main.dialogs.yesNoAnswers = {yes};
        rig.Key(Qt::Key_Delete);
        const qint64 asked = deleted ? deleted : 2;
        QCOMPARE(LastQuestion(rig.main.dialogs),
                 QStringLiteral("删除记录文件|将要彻底删除第 %1 号记录!\n确定要删除吗?").arg(asked));
        QCOMPARE(rig.main.dialogs.Shown(FakeDialogs::Kind::YesNo).size(), size_t(1));
        QByteArray left;
        for (int number = 1; number <= 3; ++number)
            if (number != deleted)
                left += FormatRecordLine(Unchanged(number));
        QCOMPARE(FileBytes(rig.recordPath), left);
        QVERIFY(rig.window->isVisible());
    }

    void deleteInTheFindBoxDeletesText()
    {
        BrowserRig rig(Casts(3));
        rig.Open();
        rig.ClickEntry(2);
        auto *findBox = rig.Find<QLineEdit>("find_field");
        findBox->setFocus();
        findBox->setText(QStringLiteral("第2"));
        findBox->setCursorPosition(0);
        QTest::keyClick(findBox, Qt::Key_Delete);
        QCOMPARE(findBox->text(), QStringLiteral("2"));
        QVERIFY(rig.main.dialogs.boxes.empty());
        QCOMPARE(FileBytes(rig.recordPath), Casts(3));
    }

    // Esc closes the window from any control; in a find box with text the
    // first Esc empties the box.
    void escapeClosesTheWindow_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("escapesToClose");
        QTest::newRow("list") << "records_list" << "" << 1;
        QTest::newRow("empty find box") << "find_field" << "" << 1;
        QTest::newRow("find box with text") << "find_field" << "张" << 2;
        QTest::newRow("page box") << "page_field" << "" << 1;
        QTest::newRow("find command") << "find_button" << "" << 1;
    }
    void escapeClosesTheWindow()
    {
        QFETCH(QString, control);
        QFETCH(QString, typed);
        QFETCH(int, escapesToClose);
        BrowserRig rig(Casts(3));
        rig.Open();
        QWidget *focused = rig.Find(qPrintable(control));
        focused->setFocus();
        if (auto *box = qobject_cast<QLineEdit *>(focused))
            box->setText(typed);
        for (int escape = 1; escape < escapesToClose; ++escape) {
            QTest::keyClick(focused, Qt::Key_Escape);
            QVERIFY(rig.window->isVisible());
            QCOMPARE(qobject_cast<QLineEdit *>(focused)->text(), QString());
        }
        QTest::keyClick(focused, Qt::Key_Escape);
        QVERIFY(!rig.window->isVisible());
        QCOMPARE(rig.window->result(), int(QDialog::Rejected));
    }

    void altFOpensTheFileMenu()
    {
        BrowserRig rig(Casts(3));
        rig.Open();
        rig.window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(rig.window.get()));
        auto *menu = rig.Find<QMenu>("file_menu");
        QTest::keyClick(rig.List(), Qt::Key_F, Qt::AltModifier);
        QTRY_VERIFY(menu->isVisible());
        QTest::keyClick(menu, Qt::Key_Down);
        QCOMPARE(menu->activeAction(), rig.Item("open_other_file_action"));
        // Moving through the menu selects no record behind it.
        QTest::keyClick(menu, Qt::Key_Down);
        QCOMPARE(rig.RecordNumber(), QStringLiteral("0"));
        QCOMPARE(rig.Item("delete_record_action")->text(), QStringLiteral("删除选中的记录"));
        QVERIFY(!rig.Item("delete_record_action")->isEnabled());
        QTest::keyClick(menu, Qt::Key_Escape);
        QTRY_VERIFY(!menu->isVisible());
        QVERIFY(rig.window->isVisible());
    }

    void menuItemsHaveTheirKeys_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QKeySequence>("key");
        QTest::newRow("open other") << "open_other_file_action" << QKeySequence(Qt::CTRL | Qt::Key_O);
        QTest::newRow("default file") << "open_default_file_action" << QKeySequence(Qt::CTRL | Qt::Key_D);
        QTest::newRow("save as") << "save_as_action" << QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S);
        QTest::newRow("delete") << "delete_record_action" << QKeySequence(Qt::Key_Delete);
    }
    void menuItemsHaveTheirKeys()
    {
        QFETCH(QString, item);
        QFETCH(QKeySequence, key);
        BrowserRig rig(Casts(3));
        rig.Open();
        QCOMPARE(rig.Item(qPrintable(item))->shortcut(), key);
    }

    // The keys of the items act: another file is asked for, the default
    // file comes back, a copy is asked for.
    void menuKeysRunTheirItems()
    {
        BrowserRig rig(Casts(3));
        const QString other = rig.folder.filePath(QStringLiteral("other.kdf"));
        QVERIFY(WriteFileBytes(other, Casts(1)));
        rig.files.openAnswers = {other};
        rig.Open();
        rig.window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(rig.window.get()));
        QTest::keyClick(rig.List(), Qt::Key_O, Qt::ControlModifier);
        QCOMPARE(rig.Text("record_count_label"), RecordCountLine(1));
        QTest::keyClick(rig.List(), Qt::Key_D, Qt::ControlModifier);
        QCOMPARE(rig.Text("record_count_label"), RecordCountLine(3));
        QTest::keyClick(rig.List(), Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(rig.files.folders.size(), 2);
    }

    void recordsAbove32767CanBeSelectedAndRead()
    {
        BrowserRig rig(Casts(40001));
        rig.Open();
        QCOMPARE(rig.Text("page_caption"), QStringLiteral("第 2001 页"));
        rig.Key(Qt::Key_PageUp);
        rig.ClickEntry(39990);
        QCOMPARE(rig.RecordNumber(), QStringLiteral("39990"));
        rig.Click("read_button");
        QCOMPARE(rig.main.Text("diviner_name_label"), QStringLiteral("占者39990"));
    }

    void aMillionRecordJournalOpensOnItsLastPage()
    {
        BrowserRig rig;
        {
            QFile file(rig.recordPath);
            QVERIFY(file.open(QIODevice::WriteOnly));
            QByteArray block;
            for (int number = 1; number <= 1000000; ++number) {
                block += "\"" + QByteArray::number(number) + "\"\r\n";
                if (block.size() > (1 << 20)) {
                    QVERIFY(file.write(block) == block.size());
                    block.clear();
                }
            }
            QVERIFY(file.write(block) == block.size());
        }
        rig.Open();
        QCOMPARE(rig.Text("record_count_label"), RecordCountLine(1000000));
        QCOMPARE(rig.Text("page_caption"), QStringLiteral("第 50000 页"));
        QVERIFY(rig.Listing().startsWith(QStringLiteral(" №<999981>\"999981\"")));
        QCOMPARE(rig.Listing().count(QStringLiteral(" №<")), 20);
        rig.ClickEntry(1000000);
        QCOMPARE(rig.Item("delete_record_action")->text(), QStringLiteral("删除第 1000000 号记录"));
        rig.Key(Qt::Key_PageUp);
        QCOMPARE(rig.Text("page_caption"), QStringLiteral("第 49999 页"));
        QVERIFY(rig.Listing().startsWith(QStringLiteral(" №<999961>")));
        rig.GoToPage(QStringLiteral("40000"));
        QVERIFY(rig.Listing().startsWith(QStringLiteral(" №<799981>")));
    }

    void f7OpensTheBrowserInPlaceOfTheMainWindow()
    {
        MainWindowUnderTest main;
        CastResult castInHand;
        AnsweringFileDialogs files;
        QTemporaryDir folder;
        RecordBrowserServices services;
        services.dialogs = &main.dialogs;
        services.fileDialogs = &files;
        services.effects = &main.effects;
        services.programFolder = TestProgramFolder;
        services.recordFilePath = folder.filePath(QStringLiteral("filelog.kdf"));
        QVERIFY(WriteFileBytes(services.recordFilePath, Casts(2)));
        ConnectRecordBrowserCommand(*main.window, services, castInHand);
        main.window->show();

        bool mainHiddenMeanwhile = false;
        ModalWatch watch(QStringLiteral("record_browser_window"), [&](QDialog *browser) {
            mainHiddenMeanwhile = !main.window->isVisible();
            QTest::keyClick(browser, Qt::Key_F12);
            QVERIFY(!browser->isVisible());
        });
        QTest::keyClick(main.window.get(), Qt::Key_F7);
        QCOMPARE(watch.visits, 1);
        QVERIFY(mainHiddenMeanwhile);
        QCOMPARE(main.effects.played.first(), ProgramSound("/wav/s1.wav"));
        QTRY_VERIFY(main.window->isVisible());
    }

    void enterInThePageBoxGoesToThePage_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("page");
        QTest::addColumn<QString>("firstEntry");
        QTest::newRow("2") << "2" << "第 2 页" << " №<21>";
        QTest::newRow("999") << "999" << "第 4 页" << " №<61>";
        QTest::newRow("abc is ignored") << "abc" << "第 1 页" << " №<1>";
    }
    void enterInThePageBoxGoesToThePage()
    {
        QFETCH(QString, typed);
        QFETCH(QString, page);
        QFETCH(QString, firstEntry);
        BrowserRig rig(Casts(65));
        rig.Open();
        rig.Click("first_page_button");
        rig.main.effects.played.clear();
        auto *pageBox = rig.Find<QLineEdit>("page_field");
        pageBox->setFocus();
        QTest::keyClicks(pageBox, typed);
        QTest::keyClick(pageBox, Qt::Key_Return);
        QCOMPARE(rig.Text("page_caption"), page);
        QVERIFY2(rig.Listing().startsWith(firstEntry), qPrintable(rig.Listing().left(20)));
        QVERIFY(pageBox->text().isEmpty());
        QCOMPARE(rig.main.effects.played, QStringList{ProgramSound("/wav/s1.wav")});
    }

    void enterInThePageBoxDoesNothingWithoutAFile()
    {
        BrowserRig rig;
        rig.Open();
        QTRY_COMPARE_WITH_TIMEOUT(rig.main.dialogs.boxes.size(), size_t(1), NoticeTimeoutMs);
        rig.main.effects.played.clear();
        auto *pageBox = rig.Find<QLineEdit>("page_field");
        QTest::keyClicks(pageBox, QStringLiteral("2"));
        QTest::keyClick(pageBox, Qt::Key_Return);
        QVERIFY(rig.main.effects.played.isEmpty());
        QCOMPARE(rig.Text("page_caption"), QStringLiteral("第 0 页"));
    }

    // Record 2 of 4 holds a matter far wider than the list.
    void selectingALongRecordKeepsTheLineStartsInView_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("click") << "click";
        QTest::newRow("click after scrolling right") << "scrolled click";
        QTest::newRow("arrow key") << "arrow";
        QTest::newRow("find") << "find";
    }
    void selectingALongRecordKeepsTheLineStartsInView()
    {
        QFETCH(QString, how);
        QByteArray bytes = Casts(4);
        DivinationRecord wide = Unchanged(2);
        wide.matterText = QString(300, u'远');
        bytes.replace(FormatRecordLine(Unchanged(2)), FormatRecordLine(wide));
        BrowserRig rig(bytes);
        rig.Open();
        QScrollBar *sideways = rig.List()->horizontalScrollBar();
        QVERIFY(sideways->maximum() > 0);
        const int lineHeight = rig.List()->cursorRect().height();
        if (how == u"click") {
            rig.ClickEntry(2, 20);
        } else if (how == u"scrolled click") {
            sideways->setValue(sideways->maximum());
            QTest::mouseClick(rig.List()->viewport(), Qt::LeftButton, {}, QPoint(40, lineHeight * 3 / 2));
        } else if (how == u"arrow") {
            rig.ClickEntry(1, 20);
            QTest::keyClick(rig.List(), Qt::Key_Down);
        } else {
            rig.Find<QLineEdit>("find_field")->setText(QStringLiteral("远远"));
            rig.Click("find_button");
        }
        QCOMPARE(rig.RecordNumber(), QStringLiteral("2"));
        QCOMPARE(sideways->value(), 0);
    }

    void aRecordNumberLeadsToItsPage_data()
    {
        QTest::addColumn<qint64>("number");
        QTest::addColumn<PageRange>("range");
        QTest::addColumn<qint64>("page");
        QTest::newRow("first record") << qint64(1) << PageRange{1, 20, false} << qint64(1);
        QTest::newRow("last of a page") << qint64(40) << PageRange{21, 40, false} << qint64(2);
        QTest::newRow("first of a page") << qint64(41) << PageRange{41, 60, true} << qint64(3);
        QTest::newRow("past the count") << qint64(99) << PageRange{41, 60, true} << qint64(3);
    }
    void aRecordNumberLeadsToItsPage()
    {
        QFETCH(qint64, number);
        QFETCH(PageRange, range);
        QFETCH(qint64, page);
        RecordPager pager;
        pager.Reset(55);
        QCOMPARE(pager.PageHolding(number), range);
        QCOMPARE(pager.CurrentPage(), page);
    }

    // Records 3, 30 and 62 of 65 were cast for 张三: from the last page the
    // search goes on past the end to the first of them, and round again.
    void findGoesToTheNextRecordAndWraps()
    {
        QByteArray bytes;
        for (int number = 1; number <= 65; ++number) {
            DivinationRecord record = Unchanged(number);
            if (number == 3 || number == 30 || number == 62)
                record.divinerName = QStringLiteral("张三");
            bytes += FormatRecordLine(record);
        }
        BrowserRig rig(bytes);
        rig.Open();
        auto *findText = rig.Find<QLineEdit>("find_field");
        findText->setText(QStringLiteral(" 张三 "));
        const struct {
            const char *number;
            const char *page;
        } visits[] = {{"62", "第 4 页"}, {"3", "第 1 页"}, {"30", "第 2 页"}, {"62", "第 4 页"}};
        bool byEnter = false;
        for (const auto &visit : visits) {
            if (byEnter)
                QTest::keyClick(findText, Qt::Key_Return);
            else
                rig.Click("find_button");
            byEnter = !byEnter;
            QCOMPARE(rig.RecordNumber(), QString::fromLatin1(visit.number));
            QCOMPARE(rig.Text("page_caption"), QString::fromUtf8(visit.page));
            QVERIFY(rig.List()->textCursor().selectedText().contains(QStringLiteral("张三")));
            QVERIFY(rig.Item("delete_record_action")->isEnabled());
        }
        QVERIFY(rig.main.dialogs.boxes.empty());
        QCOMPARE(rig.main.effects.played.last(), ProgramSound("/wav/s1.wav"));
        rig.Click("read_button");
        QCOMPARE(rig.main.Text("diviner_name_label"), QStringLiteral("张三"));
    }

    void findSaysWhenNothingMatches_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("message");
        QTest::newRow("no record") << "赵" << "没有找到含有“赵”的记录。";
        QTest::newRow("only the time holds it") << "2006" << "没有找到含有“2006”的记录。";
        QTest::newRow("empty") << "  " << "请输入要查找的文字：姓名、所占何事或卦名。";
    }
    void findSaysWhenNothingMatches()
    {
        QFETCH(QString, text);
        QFETCH(QString, message);
        BrowserRig rig(Casts(25));
        rig.Open();
        rig.ClickEntry(22);
        rig.Find<QLineEdit>("find_field")->setText(text);
        rig.Click("find_button");
        QCOMPARE(rig.main.dialogs.Texts(), QStringList{message});
        QCOMPARE(rig.RecordNumber(), QStringLiteral("22"));
        QCOMPARE(rig.Text("page_caption"), QStringLiteral("第 2 页"));
    }

    void fileDialogsOpenInTheFolderOfTheBrowsedFile()
    {
        BrowserRig rig(Casts(2));
        QTemporaryDir otherFolder;
        const QString other = otherFolder.filePath(QStringLiteral("other.kdf"));
        QVERIFY(WriteFileBytes(other, Casts(1)));
        rig.Open();
        rig.files.openAnswers.push_back(other);
        rig.Item("open_other_file_action")->trigger();
        rig.Item("save_as_action")->trigger();
        QCOMPARE(rig.files.folders, (QStringList{rig.folder.path(), otherFolder.path()}));
    }

    // No Qt catalogue translates the type of a folder, and file dates follow
    // the system's language; the dialog writes both in Chinese.
    void fileDialogsListTypesAndDatesInChinese()
    {
        QTemporaryDir folder;
        QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("records")));
        QVERIFY(WriteFileBytes(folder.filePath(QStringLiteral("a.kdf")), Casts(1)));
        QVERIFY(WriteFileBytes(folder.filePath(QStringLiteral("notes")), "x"));
        const std::unique_ptr<QFileDialog> dialog = MakeChineseFileDialog(nullptr, QStringLiteral("打开"), folder.path());
        QCOMPARE(dialog->directory().absolutePath(), QDir(folder.path()).absolutePath());
        QVERIFY(dialog->testOption(QFileDialog::DontUseNativeDialog));
        QAbstractProxyModel *list = dialog->proxyModel();
        QVERIFY(list);
        auto *files = qobject_cast<QFileSystemModel *>(list->sourceModel());
        QVERIFY(files);
        QTRY_COMPARE(files->rowCount(files->index(folder.path())), 3);
        const struct {
            const char *name;
            const char16_t *type;
            const char16_t *size;
        } rows[] = {{"records", u"文件夹", u""}, {"a.kdf", u"KDF 文件", nullptr}, {"notes", u"文件", u"1 字节"}};
        const QLocale chinese(QLocale::Chinese, QLocale::China);
        for (const auto &row : rows) {
            const QString path = folder.filePath(QString::fromLatin1(row.name));
            const QModelIndex type = list->mapFromSource(files->index(path).siblingAtColumn(2));
            QCOMPARE(type.data().toString(), QString::fromUtf16(row.type));
            if (row.size)
                QCOMPARE(type.siblingAtColumn(1).data().toString(), QString::fromUtf16(row.size));
            const QString date = type.siblingAtColumn(3).data().toString();
            QCOMPARE(date, chinese.toString(QFileInfo(path).lastModified(), QLocale::ShortFormat));
            QVERIFY2(!date.contains(QRegularExpression(QStringLiteral("[A-Za-z]"))), qPrintable(date));
        }
    }

    // The browser wears the program's frame: no window manager's title bar,
    // the title in the band, and every control on the parchment. A long
    // path loses its middle, not its end.
    void theBrowserSitsInTheProgramsFrame()
    {
        BrowserRig rig(Casts(3));
        QTemporaryDir otherFolder;
        const QString level(40, u'卦');
        const QString deepFolder = otherFolder.filePath(level + u'/' + level + u'/' + level);
        QVERIFY(QDir().mkpath(deepFolder));
        const QString other = deepFolder + QStringLiteral("/另一个.kdf");
        QVERIFY(WriteFileBytes(other, Casts(1)));
        rig.Open();
        QVERIFY(rig.window->windowFlags() & Qt::FramelessWindowHint);
        QCOMPARE(ControlsOutsidePanel(*rig.window), QStringList());
        auto *caption = rig.Find<QLabel>("caption");
        QCOMPARE(caption->text(), rig.window->windowTitle());

        rig.files.openAnswers.push_back(other);
        rig.Item("open_other_file_action")->trigger();
        QVERIFY(rig.window->windowTitle().endsWith(QStringLiteral("/另一个.kdf)")));
        QVERIFY2(caption->text().startsWith(QStringLiteral("记录文件(")), qPrintable(caption->text()));
        QVERIFY2(caption->text().endsWith(QStringLiteral("另一个.kdf)")), qPrintable(caption->text()));
        QVERIFY(caption->text().contains(u'…'));
        QVERIFY(caption->fontMetrics().horizontalAdvance(caption->text()) <= caption->width());
    }
};

QTEST_MAIN(RecordBrowserTest)
#include "test_record_browser.moc"
