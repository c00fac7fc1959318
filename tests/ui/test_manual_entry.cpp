#include "core/changed_line_pictures.h"
#include "core/changing_line_rules.h"
#include "core/manual_entry.h"
#include "core/resolution.h"
#include "fileformat/gbk_codec.h"
#include "record_window_rig.h"
#include "records/divination_record.h"
#include "records/record_file.h"
#include "shell/settings.h"
#include "support/limit_note.h"
#include "support/modal_watch.h"
#include "support/type_text.h"
#include "texts/hexagram_texts.h"
#include "ui/windows/manual_entry_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {

using Codes = std::array<QString, LinesPerHexagram>;
using Lines = std::array<QString, LinesPerHexagram>;
using Marks = std::array<bool, LinesPerHexagram>;

const QDateTime OpeningMoment(QDate(2006, 7, 6), QTime(9, 5, 3));

Codes CodesOf(const QStringList &codes)
{
    Codes result;
    for (int i = 0; i < LinesPerHexagram && i < codes.size(); ++i)
        result[i] = codes[i];
    return result;
}

ManualEntryFields CompleteFields()
{
    ManualEntryFields fields;
    fields.time = QStringLiteral("2006-7-6 9:5");
    fields.name = QStringLiteral("张三");
    fields.matter = QStringLiteral("问前程");
    fields.lines.fill(QStringLiteral("1"));
    return fields;
}

// A manual-entry window over a main window, with the record file in a
// temporary folder.
struct EntryRig {
    MainWindowUnderTest main;
    Settings settings;
    CastResult castInHand;
    QTemporaryDir folder;
    QString recordPath = folder.filePath(QStringLiteral("filelog.kdf"));
    QList<std::pair<QWidget *, int>> helpTopics;
    std::unique_ptr<ManualEntryWindow> window;

    EntryRig()
    {
        settings.divinerName = QStringLiteral("李四");
        window = std::make_unique<ManualEntryWindow>(Services(), settings, castInHand, *main.display);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }

    ManualEntryServices Services()
    {
        ManualEntryServices services;
        services.dialogs = &main.dialogs;
        services.effects = &main.effects;
        services.programFolder = TestProgramFolder;
        services.now = [] { return OpeningMoment; };
        services.recordFilePath = recordPath;
        services.openHelpTopic = [this](QWidget *owner, int topic) { helpTopics << std::pair{owner, topic}; };
        return services;
    }

    template <typename Control = QWidget>
    Control *Find(const char *name) const
    {
        return RequireChild<Control>(*window, QString::fromLatin1(name));
    }

    QLineEdit *Field(const char *name) const { return Find<QLineEdit>(name); }
    QLineEdit *LineBox(int line) const { return Find<QLineEdit>(qPrintable(QStringLiteral("line_box_%1").arg(line))); }
    QCheckBox *Mark(int line) const
    {
        return Find<QCheckBox>(qPrintable(QStringLiteral("changing_mark_%1").arg(line)));
    }

    void Fill(const QString &lines, const QString &marks = QStringLiteral("000000"))
    {
        Field("diviner_name_field")->setText(QStringLiteral("张三"));
        Field("matter_field")->setText(QStringLiteral("问前程"));
        for (int line = 1; line <= LinesPerHexagram; ++line) {
            LineBox(line)->setText(lines.mid(line - 1, 1));
            Mark(line)->setChecked(marks[line - 1] == u'1');
        }
    }

    void Confirm() { QTest::mouseClick(Find("confirm_button"), Qt::LeftButton); }

    QList<QByteArray> RecordLines() const
    {
        QList<QByteArray> lines = FileBytes(recordPath).split('\n');
        lines.removeAll(QByteArray());
        return lines;
    }
};

// Red pixels within `area` of a widget as it is drawn.
int RedPixels(QWidget *widget, const QRect &area)
{
    const QImage image = widget->grab().toImage();
    int red = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const QColor colour = image.pixelColor(x, y);
            red += colour.red() > 150 && colour.green() < 110 && colour.blue() < 110 ? 1 : 0;
        }
    return red;
}

// Red pixels in a widget as it is drawn: a changing line's character.
bool ShowsRed(QWidget *widget)
{
    const QImage image = widget->grab().toImage();
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor colour = image.pixelColor(x, y);
            if (colour.red() > 200 && colour.green() < 80 && colour.blue() < 80)
                return true;
        }
    return false;
}

} // namespace

Q_DECLARE_METATYPE(ManualEntryFields)
Q_DECLARE_METATYPE(Marks)

class ManualEntryTest : public QObject {
    Q_OBJECT

private slots:
    void timeTextHasNoLeadingZeros_data()
    {
        QTest::addColumn<QDateTime>("moment");
        QTest::addColumn<QString>("text");
        QTest::newRow("single digits") << OpeningMoment << QStringLiteral("2006-7-6 9:5");
        QTest::newRow("two digits") << QDateTime(QDate(2024, 12, 31), QTime(23, 59, 59))
                                    << QStringLiteral("2024-12-31 23:59");
        QTest::newRow("midnight") << QDateTime(QDate(2000, 1, 1), QTime(0, 0)) << QStringLiteral("2000-1-1 0:0");
    }
    void timeTextHasNoLeadingZeros()
    {
        QFETCH(QDateTime, moment);
        QFETCH(QString, text);
        QCOMPARE(ManualEntryTimeText(moment), text);
    }

    void checksRunInOrder_data()
    {
        QTest::addColumn<ManualEntryFields>("fields");
        QTest::addColumn<QString>("expected");

        ManualEntryFields allEmpty;
        QTest::newRow("all empty: time first") << allEmpty << QStringLiteral("输入时间|请输入成卦时间(不能超过20个字符)。|2006-7-6 9:5|20");
        ManualEntryFields blanks = CompleteFields();
        blanks.time = QStringLiteral("   ");
        QTest::newRow("blank time") << blanks << QStringLiteral("输入时间|请输入成卦时间(不能超过20个字符)。|2006-7-6 9:5|20");
        ManualEntryFields noName = CompleteFields();
        noName.name = QStringLiteral(" ");
        noName.matter.clear();
        QTest::newRow("name before matter") << noName << QStringLiteral("输入姓名|请输入占筮者姓名(不能超过9个字符)。|李四|9");
        ManualEntryFields noMatter = CompleteFields();
        noMatter.matter.clear();
        noMatter.lines[0].clear();
        QTest::newRow("matter before lines") << noMatter << QStringLiteral("输入事由|请输入所占何事(不能超过30个字符)。|某事云云|30");
        ManualEntryFields lineThreeFive = CompleteFields();
        lineThreeFive.lines[2].clear();
        lineThreeFive.lines[4] = QStringLiteral("2");
        QTest::newRow("line 3 empty before line 5 wrong") << lineThreeFive << QStringLiteral("3 empty|请输入三爻!");

        const std::array<const char16_t *, 6> words{u"初", u"二", u"三", u"四", u"五", u"上"};
        for (int line = 1; line <= LinesPerHexagram; ++line) {
            const QString word = QString::fromUtf16(words[line - 1]);
            ManualEntryFields empty = CompleteFields();
            empty.lines[line - 1] = QStringLiteral(" ");
            QTest::addRow("line %d blank", line)
                << empty << QStringLiteral("%1 empty|请输入%2爻!").arg(line).arg(word);
            ManualEntryFields wrong = CompleteFields();
            wrong.lines[line - 1] = QStringLiteral("x");
            QTest::addRow("line %d wrong", line)
                << wrong << QStringLiteral("%1 wrong|请正确输入%2爻数字替代符号:“0”或“1”!").arg(line).arg(word);
        }
        QTest::newRow("any time text passes") << [] {
            ManualEntryFields fields = CompleteFields();
            fields.time = QStringLiteral("上古某日");
            return fields;
        }() << QString();
    }
    void checksRunInOrder()
    {
        QFETCH(ManualEntryFields, fields);
        QFETCH(QString, expected);
        const std::optional<ManualEntryFault> fault = FirstManualEntryFault(fields, OpeningMoment, QStringLiteral("李四"));
        QString found;
        if (fault) {
            if (const auto *question = std::get_if<ManualFieldQuestion>(&*fault))
                found = QStringList{question->title, question->prompt, question->defaultText,
                                    QString::number(question->maxLength)}
                            .join(u'|');
            else {
                const auto &line = std::get<ManualLineFault>(*fault);
                found = QStringLiteral("%1 %2|%3").arg(line.line).arg(QString::fromLatin1(line.wrong ? "wrong" : "empty"), line.message);
            }
        }
        QCOMPARE(found, expected);
    }

    void handOverResolvesTheTypedCast_data()
    {
        QTest::addColumn<QString>("lines");
        QTest::addColumn<Marks>("marks");
        QTest::addColumn<QString>("resultingLines");
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("resultingName");
        QTest::addColumn<QStringList>("primaryCodes");
        QTest::addColumn<QStringList>("resultingCodes");

        QTest::newRow("乾 unchanged") << QStringLiteral("111111") << Marks{} << QStringLiteral("111111") << 0
                                      << QString() << QStringList(6, QStringLiteral("1"))
                                      << QStringList(6, QStringLiteral("1"));
        QTest::newRow("乾 all changing") << QStringLiteral("111111") << Marks{true, true, true, true, true, true}
                                         << QStringLiteral("000000") << 6 << QStringLiteral("坤")
                                         << QStringList(6, QStringLiteral("11")) << QStringList(6, QStringLiteral("00"));
        QTest::newRow("two changing") << QStringLiteral("101000") << Marks{false, true, false, false, true, false}
                                      << QStringLiteral("111010") << 2 << HexagramNameOf(HexagramNumberOf(u"111010"))
                                      << QStringList{"1", "00", "1", "0", "00", "0"}
                                      << QStringList{"1", "11", "1", "0", "11", "0"};
    }
    void handOverResolvesTheTypedCast()
    {
        QFETCH(QString, lines);
        QFETCH(Marks, marks);
        QFETCH(QString, resultingLines);
        QFETCH(int, count);
        QFETCH(QString, resultingName);
        QFETCH(QStringList, primaryCodes);
        QFETCH(QStringList, resultingCodes);

        ManualEntryFields fields = CompleteFields();
        fields.time = QStringLiteral("  2006-7-6 9:5 ");
        fields.name = QStringLiteral(" 张三 ");
        for (int i = 0; i < LinesPerHexagram; ++i)
            fields.lines[i] = lines.mid(i, 1);
        fields.changing = marks;
        const CastResult cast = ManualEntryCast(fields);
        const ResolvedCast resolved = ResolveCast(cast);
        const CastResolution &resolution = resolved.resolution;

        QCOMPARE(cast.castTime, QStringLiteral("2006-7-6 9:5(人工输入)"));
        QCOMPARE(cast.divinerName, QStringLiteral("张三"));
        QCOMPARE(cast.matterText, QStringLiteral("问前程"));
        QCOMPARE(cast.primaryLines, lines);
        QCOMPARE(cast.resultingLines, resultingLines);
        QCOMPARE(ChangingLineCount(cast), count);
        QCOMPARE(cast.lineValues, (std::array<int, LinesPerHexagram>{}));
        QCOMPARE(resolution.primary.name, HexagramNameOf(HexagramNumberOf(lines)));
        QCOMPARE(resolution.primary.text, HexagramText(HexagramNumberOf(lines)));
        QCOMPARE(resolution.resultingShown, count > 0);
        QCOMPARE(resolution.resulting.name, resultingName);
        QCOMPARE(resolution.resulting.lines, resultingLines);
        QCOMPARE(resolution.ruleText, ChangingLineRule(count));
        QCOMPARE(resolution.castTime, cast.castTime);
        QCOMPARE(resolution.primary.pictures, CodesOf(primaryCodes));
        QCOMPARE(resolution.resulting.pictures, CodesOf(resultingCodes));

        const DivinationRecord &record = resolved.record;
        QCOMPARE(record.changingLines, ChangingLineField(count));
        QCOMPARE(record.primaryLines, lines);
        QCOMPARE(record.resultingName, resultingName);
        QCOMPARE(record.resultingLines, count > 0 ? resultingLines : QString());
    }

    void picturesComeFromTheTwoLineStrings_data()
    {
        QTest::addColumn<QString>("primary");
        QTest::addColumn<QString>("resulting");
        QTest::addColumn<QStringList>("primaryCodes");
        QTest::addColumn<QStringList>("resultingCodes");
        QTest::newRow("no change") << "010101" << "010101" << QStringList{"0", "1", "0", "1", "0", "1"}
                                   << QStringList{"0", "1", "0", "1", "0", "1"};
        QTest::newRow("lines 2 and 6 change") << "010101" << "000100" << QStringList{"0", "11", "0", "1", "0", "11"}
                                              << QStringList{"0", "00", "0", "1", "0", "00"};
        QTest::newRow("no resulting string") << "110000" << "" << QStringList{"1", "1", "0", "0", "0", "0"}
                                             << QStringList(6, QString());
        QTest::newRow("damaged characters pick no picture")
            << "1x1" << "0?1000" << QStringList{"11", "", "1", "", "", ""} << QStringList{"00", "", "1", "0", "0", "0"};
    }
    void picturesComeFromTheTwoLineStrings()
    {
        QFETCH(QString, primary);
        QFETCH(QString, resulting);
        QFETCH(QStringList, primaryCodes);
        QFETCH(QStringList, resultingCodes);
        const ChangedLinePictures pictures = ChangedLinePicturesOf(primary, resulting);
        QCOMPARE(pictures.primary, CodesOf(primaryCodes));
        QCOMPARE(pictures.resulting, CodesOf(resultingCodes));
    }

    void openingFillsTheTime()
    {
        EntryRig rig;
        QCOMPARE(rig.window->objectName(), QStringLiteral("manual_entry_window"));
        QCOMPARE(rig.window->windowTitle(), QStringLiteral("人工输入卦体"));
        QCOMPARE(rig.main.effects.played, QStringList{ProgramSound("/wav/s3.wav")});
        QCOMPARE(rig.Field("cast_time_field")->text(), QStringLiteral("2006-7-6 9:5"));
        QCOMPARE(rig.Field("cast_time_field")->maxLength(), 20);
        QCOMPARE(rig.Field("diviner_name_field")->maxLength(), 9);
        QCOMPARE(rig.Field("matter_field")->maxLength(), 30);
        for (int line = 1; line <= LinesPerHexagram; ++line) {
            QVERIFY(rig.LineBox(line)->text().isEmpty());
            QCOMPARE(rig.LineBox(line)->maxLength(), 1);
            QVERIFY(!rig.Mark(line)->isChecked());
        }
        QCOMPARE(rig.Find<QLabel>("line_entry_hint")->text(), QStringLiteral("按照阳爻为“1”，阴爻为“0”的方式输入：→"));
        QCOMPARE(rig.Find("help_button")->toolTip(), QStringLiteral("帮助主题 F1"));
    }

    void clickingALineBoxFlipsItAndMovesOn_data()
    {
        QTest::addColumn<int>("line");
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("after");
        QTest::addColumn<QString>("focusAfter");
        QTest::newRow("empty line 1") << 1 << "" << "0" << "line_box_2";
        QTest::newRow("yin line 3") << 3 << "0" << "1" << "line_box_4";
        QTest::newRow("yang line 5") << 5 << "1" << "0" << "line_box_6";
        QTest::newRow("other text line 6") << 6 << "x" << "0" << "changing_mark_1";
        QTest::newRow("blank around yin") << 2 << " " << "0" << "line_box_3";
    }
    void clickingALineBoxFlipsItAndMovesOn()
    {
        QFETCH(int, line);
        QFETCH(QString, before);
        QFETCH(QString, after);
        QFETCH(QString, focusAfter);
        EntryRig rig;
        rig.LineBox(line)->setText(before);
        QTest::mouseClick(rig.LineBox(line), Qt::LeftButton);
        QCOMPARE(rig.LineBox(line)->text(), after);
        QCOMPARE(QApplication::focusWidget()->objectName(), focusAfter);
    }

    void doubleClickOnALineBoxFlipsItOnce()
    {
        EntryRig rig;
        rig.LineBox(2)->setText(QStringLiteral("1"));
        // A double-click arrives as press, release, double-click, release.
        QTest::mouseClick(rig.LineBox(2), Qt::LeftButton);
        QTest::mouseDClick(rig.LineBox(2), Qt::LeftButton);
        QTest::mouseRelease(rig.LineBox(2), Qt::LeftButton);
        QCOMPARE(rig.LineBox(2)->text(), QStringLiteral("0"));
        QTest::mouseClick(rig.LineBox(2), Qt::LeftButton);
        QCOMPARE(rig.LineBox(2)->text(), QStringLiteral("1"));
    }

    void typingALineMovesOn()
    {
        EntryRig rig;
        rig.LineBox(1)->setFocus();
        QTest::keyClicks(rig.LineBox(1), QStringLiteral("1"));
        QCOMPARE(QApplication::focusWidget(), rig.LineBox(2));
        QTest::keyClicks(rig.LineBox(2), QStringLiteral("0"));
        QCOMPARE(QApplication::focusWidget(), rig.LineBox(3));
    }

    void markingALineColoursItRedAndMovesOn()
    {
        EntryRig rig;
        rig.Fill(QStringLiteral("101101"));
        QVERIFY(!ShowsRed(rig.LineBox(2)));
        QTest::mouseClick(rig.Mark(2), Qt::LeftButton);
        QVERIFY(rig.Mark(2)->isChecked());
        QVERIFY(ShowsRed(rig.LineBox(2)));
        QVERIFY(!ShowsRed(rig.LineBox(3)));
        QCOMPARE(QApplication::focusWidget(), rig.Mark(3));

        QTest::mouseClick(rig.Mark(2), Qt::LeftButton);
        QVERIFY(!ShowsRed(rig.LineBox(2)));

        QTest::mouseClick(rig.Mark(6), Qt::LeftButton);
        QVERIFY(ShowsRed(rig.LineBox(6)));
        QCOMPARE(QApplication::focusWidget(), rig.Find("confirm_button"));
    }

    void doubleClicksFillNameAndMatter_data()
    {
        QTest::addColumn<QString>("lastName");
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("after");
        QTest::newRow("empty field") << "李四" << "" << "某官";
        QTest::newRow("other name") << "李四" << "王五" << "某官";
        QTest::newRow("某官 gives the last name") << "李四" << "某官" << "李四";
        QTest::newRow("某官 with no last name") << "" << "某官" << "某官";
    }
    void doubleClicksFillNameAndMatter()
    {
        QFETCH(QString, lastName);
        QFETCH(QString, before);
        QFETCH(QString, after);
        EntryRig rig;
        rig.settings.divinerName = lastName;
        rig.Field("diviner_name_field")->setText(before);
        QTest::mouseDClick(rig.Field("diviner_name_field"), Qt::LeftButton);
        QCOMPARE(rig.Field("diviner_name_field")->text(), after);
        QTest::mouseDClick(rig.Field("matter_field"), Qt::LeftButton);
        QCOMPARE(rig.Field("matter_field")->text(), QStringLiteral("某事云云"));
    }

    // The fields keep what fits and say so while full; a shorter text takes
    // the note away again.
    void fullFieldsShowTheirLimit_data()
    {
        AddNameAndMatterLimitRows();
        QTest::newRow("time pasted under the limit") << QByteArray("cast_time_field") << 19 << true << QString();
        QTest::newRow("time pasted over the limit") << QByteArray("cast_time_field") << 52 << true
                                                    << QStringLiteral("最多20个字");
    }

    void fullFieldsShowTheirLimit()
    {
        QFETCH(QByteArray, field);
        EntryRig rig;
        QLineEdit *entry = rig.Field(field.constData());
        CheckLimitNoteOf(entry);
    }

    // A full name of nine wide characters shows whole beside its note.
    void aFullNameShowsWholeBesideItsNote()
    {
        EntryRig rig;
        QLineEdit *name = rig.Field("diviner_name_field");
        const QString full = QString(ManualNameLength, QChar(u'龘'));
        name->setText(full);
        auto *note = RequireChild<QLabel>(*name, QStringLiteral("limit_note"));
        QVERIFY(note->isVisibleTo(name));
        const int textRoom = note->x() - name->contentsRect().left();
        QVERIFY2(name->fontMetrics().horizontalAdvance(full) + 8 <= textRoom,
                 qPrintable(QStringLiteral("%1 px for the name").arg(textRoom)));
    }

    void confirmAsksForBlankFieldsInOrder()
    {
        EntryRig rig;
        rig.Field("cast_time_field")->clear();
        rig.main.dialogs.textAnswers = {QStringLiteral("一二三四五六七八九十一二三四五六七八九十一二"), std::nullopt,
                                        QStringLiteral("欧阳张三丰欧阳张三丰")};
        rig.Confirm();
        QCOMPARE(rig.main.dialogs.boxes.size(), size_t(1));
        QCOMPARE(rig.main.dialogs.boxes[0].title, QStringLiteral("输入时间"));
        QCOMPARE(rig.main.dialogs.boxes[0].defaultText, QStringLiteral("2006-7-6 9:5"));
        QCOMPARE(rig.main.dialogs.boxes[0].maxLength, 20);
        QCOMPARE(rig.Field("cast_time_field")->text(), QStringLiteral("一二三四五六七八九十一二三四五六七八九十"));
        QCOMPARE(ShownLimitNote(*rig.Field("cast_time_field")), QStringLiteral("最多20个字"));

        // Cancel leaves the name empty, so the next confirmation asks again.
        rig.Confirm();
        QCOMPARE(rig.main.dialogs.boxes.back().title, QStringLiteral("输入姓名"));
        QCOMPARE(rig.main.dialogs.boxes.back().defaultText, QStringLiteral("李四"));
        QCOMPARE(rig.main.dialogs.boxes.back().maxLength, 9);
        QVERIFY(rig.Field("diviner_name_field")->text().isEmpty());
        QCOMPARE(QApplication::focusWidget(), rig.Field("diviner_name_field"));
        rig.Confirm();
        QCOMPARE(rig.Field("diviner_name_field")->text(), QStringLiteral("欧阳张三丰欧阳张三"));

        rig.Confirm();
        QCOMPARE(rig.main.dialogs.boxes.back().title, QStringLiteral("输入事由"));
        QCOMPARE(rig.main.dialogs.boxes.back().maxLength, 30);
        QCOMPARE(rig.main.dialogs.boxes.size(), size_t(4));
        QVERIFY(rig.RecordLines().isEmpty());
        QVERIFY(rig.window->isVisible());
    }

    void wrongLinesAreReportedOneAtATime()
    {
        EntryRig rig;
        rig.Fill(QStringLiteral("10 1x0"));
        rig.LineBox(3)->clear();
        rig.Confirm();
        QCOMPARE(rig.main.dialogs.Texts(), QStringList{QStringLiteral("请输入三爻!")});
        QCOMPARE(rig.main.dialogs.boxes[0].title, QStringLiteral("Ravezaz"));
        QCOMPARE(QApplication::focusWidget(), rig.LineBox(3));
        QCOMPARE(rig.LineBox(5)->text(), QStringLiteral("x"));

        rig.LineBox(3)->setText(QStringLiteral("1"));
        rig.Confirm();
        QCOMPARE(rig.main.dialogs.Texts().last(), QStringLiteral("请正确输入五爻数字替代符号:“0”或“1”!"));
        QVERIFY(rig.LineBox(5)->text().isEmpty());
        QCOMPARE(QApplication::focusWidget(), rig.LineBox(5));
        QCOMPARE(rig.LineBox(1)->text(), QStringLiteral("1"));
        QCOMPARE(rig.LineBox(4)->text(), QStringLiteral("1"));
        QVERIFY(rig.RecordLines().isEmpty());
    }

    void confirmShowsTheCastAndWritesOneRecord_data()
    {
        QTest::addColumn<QString>("lines");
        QTest::addColumn<QString>("marks");
        QTest::addColumn<QString>("recordTail");
        QTest::addColumn<QStringList>("primaryCodes");
        QTest::addColumn<QStringList>("resultingCodes");
        QTest::newRow("乾 unchanged") << "111111" << "000000"
                                      << QStringLiteral("\"卦序号:1\",\"卦象:111111\",\"卦名:乾\",\"未变爻\",\"\",\"\",\"\"")
                                      << QStringList(6, QStringLiteral("1")) << QStringList(6, QStringLiteral("0"));
        QTest::newRow("乾 to 坤") << "111111" << "111111"
                                  << QStringLiteral("\"卦序号:1\",\"卦象:111111\",\"卦名:乾\",\"变6爻\",\"2\",\"000000\",\"坤\"")
                                  << QStringList(6, QStringLiteral("11")) << QStringList(6, QStringLiteral("00"));
        QTest::newRow("lines 2 and 4 change") << "111000" << "010100"
                                              << QStringLiteral("\"变2爻\"")
                                              << QStringList{"1", "11", "1", "00", "0", "0"}
                                              << QStringList{"1", "00", "1", "11", "0", "0"};
    }
    void confirmShowsTheCastAndWritesOneRecord()
    {
        QFETCH(QString, lines);
        QFETCH(QString, marks);
        QFETCH(QString, recordTail);
        QFETCH(QStringList, primaryCodes);
        QFETCH(QStringList, resultingCodes);
        EntryRig rig;
        rig.Fill(lines, marks);
        rig.Confirm();

        QVERIFY(rig.main.dialogs.boxes.empty());
        QVERIFY(!rig.window->isVisible());
        QCOMPARE(rig.window->result(), int(QDialog::Accepted));
        QCOMPARE(rig.main.effects.played.last(), ProgramSound("/wav/close.wav"));

        const QList<QByteArray> records = rig.RecordLines();
        QCOMPARE(records.size(), 1);
        const QString record = DecodeGbk(records[0].trimmed());
        QVERIFY2(record.startsWith(QStringLiteral("\"时间:2006-7-6 9:5(人工输入)\",\"姓名:张三\",\"占筮事由:问前程\"")),
                 qPrintable(record));
        QVERIFY2(record.contains(recordTail), qPrintable(record));

        const int changing = int(marks.count(u'1'));
        QVERIFY(rig.main.Shown("primary_hexagram_frame"));
        QCOMPARE(rig.main.Shown("resulting_hexagram_frame"), changing > 0);
        QCOMPARE(rig.main.Text("cast_time_label"), QStringLiteral("2006-7-6 9:5(人工输入)"));
        QCOMPARE(rig.main.Text("diviner_name_label"), QStringLiteral("张三"));
        QCOMPARE(rig.main.Text("primary_hexagram_lines_label"), lines);
        QCOMPARE(rig.main.Text("changing_line_rule_label"), ChangingLineRule(changing));
        QCOMPARE(rig.main.LineCodes("primary"), primaryCodes);
        if (changing > 0)
            QCOMPARE(rig.main.LineCodes("resulting"), resultingCodes);
        QVERIFY(!rig.main.Shown("trigram_wheel_picture"));
        QVERIFY(!rig.main.Shown("saying_label"));
        QVERIFY(rig.main.Find("print_button")->isEnabled());
    }

    // Text pasted with line breaks reaches the record as one line.
    void pastedLineBreaksBecomeSpaces()
    {
        EntryRig rig;
        rig.Fill(QStringLiteral("111111"));
        rig.Field("diviner_name_field")->setText(QStringLiteral("张三\r\n"));
        rig.Field("matter_field")->setText(QStringLiteral("问\n前程"));
        QVERIFY(rig.Field("diviner_name_field")->text().contains(u'\n'));
        rig.Confirm();
        const QList<QByteArray> records = rig.RecordLines();
        QCOMPARE(records.size(), 1);
        QCOMPARE(FileBytes(rig.recordPath).count('\r'), 1);
        const QString record = DecodeGbk(records[0]);
        QVERIFY2(record.contains(QStringLiteral("\"姓名:张三\",\"占筮事由:问 前程\"")), qPrintable(record));
    }

    void anUnwritableRecordFileIsReportedAndTheCastStaysShown()
    {
        EntryRig rig;
        rig.window->close();
        ManualEntryServices services = rig.Services();
        services.recordFilePath = rig.folder.filePath(QStringLiteral("missing/filelog.kdf"));
        ManualEntryWindow window(services, rig.settings, rig.castInHand, *rig.main.display);
        RequireChild<QLineEdit>(window, QStringLiteral("diviner_name_field"))->setText(QStringLiteral("张三"));
        RequireChild<QLineEdit>(window, QStringLiteral("matter_field"))->setText(QStringLiteral("问前程"));
        for (int line = 1; line <= 6; ++line)
            RequireChild<QLineEdit>(window, QStringLiteral("line_box_%1").arg(line))->setText(QStringLiteral("0"));
        QTest::mouseClick(RequireChild(window, QStringLiteral("confirm_button")), Qt::LeftButton);
        QCOMPARE(rig.main.dialogs.boxes.size(), size_t(1));
        QCOMPARE(rig.main.dialogs.boxes[0].icon, DialogService::Icon::Warning);
        QVERIFY(rig.main.dialogs.boxes[0].text.contains(services.recordFilePath));
        QCOMPARE(rig.main.Text("primary_hexagram_name_label"), QStringLiteral("坤"));
        QVERIFY(rig.main.Shown("primary_hexagram_frame"));
    }

    void closeAndF12WriteNothing_data()
    {
        QTest::addColumn<bool>("byKey");
        QTest::newRow("close command") << false;
        QTest::newRow("F12") << true;
    }
    void closeAndF12WriteNothing()
    {
        QFETCH(bool, byKey);
        EntryRig rig;
        rig.Fill(QStringLiteral("111111"));
        if (byKey)
            QTest::keyClick(rig.LineBox(2), Qt::Key_F12);
        else
            QTest::mouseClick(rig.Find("close_button"), Qt::LeftButton);
        QVERIFY(!rig.window->isVisible());
        QVERIFY(!QFile::exists(rig.recordPath));
        QVERIFY(!rig.main.Shown("primary_hexagram_frame"));
    }

    void helpOpensTopic800_data()
    {
        QTest::addColumn<bool>("byKey");
        QTest::newRow("help command") << false;
        QTest::newRow("F1") << true;
    }
    void helpOpensTopic800()
    {
        QFETCH(bool, byKey);
        EntryRig rig;
        if (byKey)
            QTest::keyClick(rig.Field("cast_time_field"), Qt::Key_F1);
        else
            QTest::mouseClick(rig.Find("help_button"), Qt::LeftButton);
        QCOMPARE(rig.helpTopics, (QList<std::pair<QWidget *, int>>{{rig.window.get(), 800}}));
        QVERIFY(rig.window->isVisible());
    }

    void f6OpensTheWindowInPlaceOfTheMainWindow()
    {
        MainWindowUnderTest main;
        Settings settings;
        settings.divinerName = QStringLiteral("李四");
        CastResult castInHand;
        QTemporaryDir folder;
        ManualEntryServices services;
        services.dialogs = &main.dialogs;
        services.effects = &main.effects;
        services.programFolder = TestProgramFolder;
        services.now = [] { return OpeningMoment; };
        services.recordFilePath = folder.filePath(QStringLiteral("filelog.kdf"));
        services.openHelpTopic = [](QWidget *, int) {};
        ConnectManualEntryCommand(*main.window, services, settings, castInHand);
        main.window->show();

        bool mainHiddenMeanwhile = false;
        ModalWatch watch(QStringLiteral("manual_entry_window"), [&](QDialog *entry) {
            mainHiddenMeanwhile = !main.window->isVisible();
            RequireChild<QLineEdit>(*entry, QStringLiteral("diviner_name_field"))->setText(QStringLiteral("张三"));
            RequireChild<QLineEdit>(*entry, QStringLiteral("matter_field"))->setText(QStringLiteral("问前程"));
            for (int line = 1; line <= 6; ++line)
                RequireChild<QLineEdit>(*entry, QStringLiteral("line_box_%1").arg(line))->setText(QStringLiteral("1"));
            QTest::mouseClick(RequireChild(*entry, QStringLiteral("confirm_button")), Qt::LeftButton);
        });
        QTest::keyClick(main.window.get(), Qt::Key_F6);
        QCOMPARE(watch.visits, 1);
        QVERIFY(mainHiddenMeanwhile);
        QCOMPARE(main.effects.played.first(), ProgramSound("/wav/s1.wav"));
        QTRY_VERIFY(main.window->isVisible());
        QCOMPARE(main.Text("primary_hexagram_name_label"), QStringLiteral("乾"));
        QCOMPARE(FileBytes(services.recordFilePath).count('\n'), 1);
        // The entered cast is the cast in hand and its name is remembered.
        QCOMPARE(castInHand.primaryLines, QStringLiteral("111111"));
        QCOMPARE(castInHand.resultingLines, QStringLiteral("111111"));
        QCOMPARE(castInHand.divinerName, QStringLiteral("张三"));
        QCOMPARE(settings.divinerName, QStringLiteral("张三"));
    }

    // A time longer than its box shows its start once the cursor leaves
    // the box, and all of it in the tooltip.
    void longTimeShowsItsStartAndAllOfItInTheTooltip()
    {
        EntryRig rig;
        const QString time = QStringLiteral("二〇〇六年十二月三十一日二十三时五十九分");
        QLineEdit *box = rig.Field("cast_time_field");
        QVERIFY(box->hasFocus());
        box->selectAll();
        TypeText(box, time);
        QCOMPARE(box->text(), time);
        QVERIFY(box->fontMetrics().horizontalAdvance(time) > box->width());
        QCOMPARE(box->cursorPosition(), int(time.size()));

        QTest::keyClick(box, Qt::Key_Tab);
        QVERIFY(!box->hasFocus());
        QCOMPARE(box->cursorPosition(), 0);
        QCOMPARE(box->toolTip(), time);
    }

    // A ticked mark shows a tick on a light square; an empty one shows no
    // red inside its square, whether it has the focus or not.
    void ticksAreDrawnInsideTheMarks()
    {
        EntryRig rig;
        QCheckBox *mark = rig.Mark(2);
        const QRect square(1, (mark->height() - 16) / 2, 16, 16);
        const QRect inside = square.adjusted(3, 3, -3, -3);

        mark->setFocus();
        QVERIFY(mark->hasFocus());
        QVERIFY2(RedPixels(mark, square) > 0, "a focused mark shows no red edge");
        QCOMPARE(RedPixels(mark, inside), 0);

        rig.Field("diviner_name_field")->setFocus();
        QCOMPARE(RedPixels(mark, square), 0);

        QTest::mouseClick(mark, Qt::LeftButton);
        QVERIFY(mark->isChecked());
        rig.Field("diviner_name_field")->setFocus();
        const int tick = RedPixels(mark, inside);
        QVERIFY2(tick >= 10, qPrintable(QString::number(tick)));
        QVERIFY2(tick < inside.width() * inside.height() / 2, "the ticked square is filled, not ticked");
    }

    void theWindowSitsInTheProgramsFrame()
    {
        EntryRig rig;
        QVERIFY(rig.window->windowFlags() & Qt::FramelessWindowHint);
        QCOMPARE(rig.Find<QLabel>("caption")->text(), QStringLiteral("人工输入卦体"));
        QCOMPARE(ControlsOutsidePanel(*rig.window), QStringList());
    }
};

QTEST_MAIN(ManualEntryTest)
#include "test_manual_entry.moc"
