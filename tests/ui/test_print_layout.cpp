#include "core/resolution.h"
#include "main_window_rig.h"
#include "support/modal_watch.h"
#include "support/require_child.h"
#include "texts/hexagram_texts.h"
#include "ui/widgets/picture_label.h"
#include "ui/windows/print_layout.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QLabel>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

namespace {

// A machine with or without a default printer. It keeps what it was asked
// to print and whether the layout's click-to-close labels were still off,
// and refuses the job when told to.
class FakePrinters final : public Printers {
public:
    bool HasDefaultPrinter() const override { return hasDefault; }
    std::optional<QString> PrintOnDefaultPrinter(const PrintPage &page, const QString &title) override
    {
        pages.push_back(page.name);
        titles << title;
        if (const auto *layout = owner ? owner->findChild<PrintLayout *>() : nullptr)
            coversOffWhilePrinting = !RequireChild(*layout, QStringLiteral("page_cover"))->isEnabled();
        return refusal;
    }
    bool hasDefault = true;
    std::optional<QString> refusal;
    const QWidget *owner = nullptr;
    QStringList pages;
    QStringList titles;
    bool coversOffWhilePrinting = false;
};

// 乾 with its top line changing into 夬, or 乾 unchanged, with the texts
// the display step would give it.
CastResolution CastOfQian(bool withChange)
{
    CastResolution cast;
    const std::array<QString, 6> yang{QStringLiteral("1"), QStringLiteral("1"), QStringLiteral("1"),
                                      QStringLiteral("1"), QStringLiteral("1"), QStringLiteral("1")};
    cast.primary = {QStringLiteral("1"), QStringLiteral("乾"), QStringLiteral("111111"), HexagramText(1), yang};
    cast.resulting = cast.primary;
    if (withChange) {
        cast.primary.pictures[5] = QStringLiteral("11");
        cast.resulting = {QStringLiteral("43"), QStringLiteral("夬"), QStringLiteral("111110"), HexagramText(43), yang};
        cast.resulting.pictures[5] = QStringLiteral("00");
    }
    cast.resultingShown = withChange;
    cast.changingLineCount = withChange ? 1 : 0;
    cast.ruleText = withChange ? QStringLiteral("变1爻：则以本卦变爻辞占。")
                               : QStringLiteral("凡卦六爻皆不变,则占本卦彖辞,而以内卦为贞,外卦为悔。");
    cast.castTime = QStringLiteral("2006-7-16 14:05:09");
    cast.divinerName = QStringLiteral("某官");
    cast.matterText = QStringLiteral("出行");
    return cast;
}

// The day the tests print on.
const QDate PrintDay(2026, 12, 11);

// A main window showing a cast, with the print command connected to fake
// printers and a PDF folder of its own.
struct PrintRig {
    explicit PrintRig(bool withChange, std::optional<bool> printTranslation = std::nullopt)
    {
        main.settings.printTranslation = printTranslation;
        main.Load();
        main.window->ShowCastView(CastOfQian(withChange));
        printers.owner = main.window.get();
        services.effects = &main.effects;
        services.programFolder = main.folder.path();
        services.settings = &main.settings;
        services.output = {&main.dialogs, &printers, [this] { return documents.path(); }};
        services.today = [] { return PrintDay; };
        ConnectPrintCommand(*main.window, services);
    }

    // Prints with F9 and answers the question with Yes.
    PrintLayout *PrintWithF9()
    {
        main.dialogs.yesNoAnswers.push_front(true);
        QTest::keyRelease(main.window.get(), Qt::Key_F9);
        return Layout();
    }

    QWidget *PrintCommand() const { return main.Control(QStringLiteral("print_button")); }

    // The open layout, if any.
    PrintLayout *Layout() const { return main.window->findChild<PrintLayout *>(); }

    MainWindowRig main;
    FakePrinters printers;
    QTemporaryDir documents;
    PrintCommandServices services;
};

QString Normalised(QString text)
{
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

// The control at `path`, a chain of object names separated by "/".
template <typename T = QWidget>
T *In(const QWidget *parent, const QString &path)
{
    const QStringList names = path.split(QLatin1Char('/'));
    const QObject *at = parent;
    for (int i = 0; i + 1 < names.size(); ++i)
        at = RequireChild(*at, names[i]);
    return RequireChild<T>(*at, names.last());
}

ShownCast SampleCast(bool withChange)
{
    PrintRig rig(withChange);
    return rig.main.window->ShownCastView();
}

// How much of `area` on the page holds ink.
double InkShare(const QImage &page, const QRect &area)
{
    int ink = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (qGray(page.pixel(x, y)) < 160)
                ++ink;
        }
    }
    return double(ink) / (area.width() * area.height());
}

bool HasPoppler()
{
    return !QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty() &&
           !QStandardPaths::findExecutable(QStringLiteral("pdfinfo")).isEmpty();
}

QString WithoutSpace(QString text)
{
    static const QRegularExpression space(QStringLiteral("\\s"));
    return text.remove(space);
}

// The output of a poppler tool run on `path`.
QString PopplerOutput(const QString &tool, QStringList arguments)
{
    QProcess run;
    run.start(QStandardPaths::findExecutable(tool), arguments);
    run.waitForFinished(60000);
    return QString::fromUtf8(run.readAllStandardOutput());
}

// The text of a PDF in the order it was drawn, without white space.
QString PdfText(const QString &path)
{
    return WithoutSpace(PopplerOutput(QStringLiteral("pdftotext"),
                                      {QStringLiteral("-raw"), QStringLiteral("-enc"), QStringLiteral("UTF-8"), path,
                                       QStringLiteral("-")}));
}

// The document title of a PDF.
QString PdfTitle(const QString &path)
{
    const QStringList lines =
        PopplerOutput(QStringLiteral("pdfinfo"), {QStringLiteral("-enc"), QStringLiteral("UTF-8"), path})
            .split(QLatin1Char('\n'));
    for (const QString &line : lines) {
        if (line.startsWith(QStringLiteral("Title:")))
            return line.mid(6).trimmed();
    }
    return {};
}

} // namespace

class PrintLayoutTest : public QObject {
    Q_OBJECT

private slots:
    void layoutsFollowTheirArrangementInTwips_data()
    {
        QTest::addColumn<bool>("translations");
        QTest::addColumn<QString>("control");
        QTest::addColumn<QRect>("geometry");
        QTest::newRow("classical: name caption") << false << QStringLiteral("diviner_name_caption_label") << QRect(80, 33, 48, 19);
        QTest::newRow("classical: name") << false << QStringLiteral("diviner_name_label") << QRect(128, 32, 161, 19);
        QTest::newRow("classical: time") << false << QStringLiteral("cast_time_label") << QRect(352, 33, 249, 19);
        QTest::newRow("classical: matter") << false << QStringLiteral("matter_label") << QRect(144, 53, 449, 19);
        QTest::newRow("classical: primary frame") << false << QStringLiteral("primary_frame") << QRect(56, 84, 265, 332);
        QTest::newRow("classical: resulting frame") << false << QStringLiteral("resulting_frame") << QRect(344, 84, 265, 332);
        QTest::newRow("classical: 上 at the top") << false << QStringLiteral("line_6_position_label") << QRect(320, 112, 24, 17);
        QTest::newRow("classical: 初 at the bottom") << false << QStringLiteral("line_1_position_label") << QRect(320, 192, 24, 17);
        QTest::newRow("classical: rule") << false << QStringLiteral("rule_label") << QRect(56, 424, 553, 41);
        QTest::newRow("classical: primary number") << false << QStringLiteral("primary_number_label") << QRect(112, 16, 40, 17);
        QTest::newRow("classical: primary name") << false << QStringLiteral("primary_name_label") << QRect(40, 40, 120, 49);
        QTest::newRow("classical: primary lines") << false << QStringLiteral("primary_lines_label") << QRect(40, 96, 120, 17);
        QTest::newRow("classical: primary line 6") << false << QStringLiteral("primary_line_6_picture") << QRect(160, 32, 64, 5);
        QTest::newRow("classical: primary line 1") << false << QStringLiteral("primary_line_1_picture") << QRect(160, 112, 64, 5);
        QTest::newRow("classical: primary text") << false << QStringLiteral("primary_text_label") << QRect(8, 136, 249, 193);
        QTest::newRow("classical: resulting name") << false << QStringLiteral("resulting_name_label") << QRect(112, 40, 120, 49);
        QTest::newRow("classical: resulting line 1") << false << QStringLiteral("resulting_line_1_picture") << QRect(40, 112, 64, 5);
        QTest::newRow("classical: whole cover") << false << QStringLiteral("page_cover") << QRect(0, 0, 633, 465);
        QTest::newRow("translations: name caption") << true << QStringLiteral("diviner_name_caption_label") << QRect(64, 17, 48, 19);
        QTest::newRow("translations: matter") << true << QStringLiteral("matter_label") << QRect(128, 37, 585, 19);
        QTest::newRow("translations: primary frame") << true << QStringLiteral("primary_frame") << QRect(32, 68, 345, 452);
        QTest::newRow("translations: resulting frame") << true << QStringLiteral("resulting_frame") << QRect(400, 68, 345, 452);
        QTest::newRow("translations: 上 at the top") << true << QStringLiteral("line_6_position_label") << QRect(376, 96, 24, 17);
        QTest::newRow("translations: 初 at the bottom") << true << QStringLiteral("line_1_position_label") << QRect(376, 176, 24, 17);
        QTest::newRow("translations: rule") << true << QStringLiteral("rule_label") << QRect(56, 528, 665, 17);
        QTest::newRow("translations: primary number") << true << QStringLiteral("primary_number_label") << QRect(153, 16, 40, 17);
        QTest::newRow("translations: primary line 1") << true << QStringLiteral("primary_line_1_picture") << QRect(231, 112, 64, 5);
        QTest::newRow("translations: resulting line 6") << true << QStringLiteral("resulting_line_6_picture") << QRect(50, 32, 64, 5);
        QTest::newRow("translations: resulting lines") << true << QStringLiteral("resulting_lines_label") << QRect(176, 96, 120, 17);
        QTest::newRow("translations: primary text") << true << QStringLiteral("primary_text_label") << QRect(6, 128, 333, 321);
        QTest::newRow("translations: whole cover") << true << QStringLiteral("page_cover") << QRect(0, 0, 761, 545);
    }

    void layoutsFollowTheirArrangementInTwips()
    {
        QFETCH(bool, translations);
        QFETCH(QString, control);
        QFETCH(QRect, geometry);
        PrintLayout layout(translations ? PrintLayoutKind::Translations : PrintLayoutKind::ClassicalTexts,
                           SampleCast(true), PrintDay, nullptr);
        QCOMPARE(layout.objectName(), translations ? QStringLiteral("translation_print_layout") : QStringLiteral("classical_print_layout"));
        QCOMPARE(layout.windowTitle(), QStringLiteral("打印窗口"));
        QWidget *widget = RequireChild(layout, control);
        QCOMPARE(widget->geometry(), geometry);
    }

    // Nothing sticks out of its frame or the window, and every text fits
    // its box.
    void nothingIsClipped_data()
    {
        QTest::addColumn<bool>("translations");
        QTest::newRow("classical texts") << false;
        QTest::newRow("translations") << true;
    }

    void nothingIsClipped()
    {
        QFETCH(bool, translations);
        const ShownCast sample = SampleCast(true);
        for (int number = 1; number <= 64; ++number) {
            ShownCast cast = sample;
            cast.primary.text = translations ? HexagramTranslation(number) : HexagramText(number);
            cast.resulting.text = cast.primary.text;
            PrintLayout layout(translations ? PrintLayoutKind::Translations : PrintLayoutKind::ClassicalTexts, cast,
                               PrintDay, nullptr);
            for (const QWidget *widget : layout.findChildren<QWidget *>()) {
                const QString where = QStringLiteral("%1 of hexagram %2").arg(widget->objectName()).arg(number);
                QVERIFY2(widget->parentWidget()->rect().contains(widget->geometry()), qPrintable(where));
                const auto *label = qobject_cast<const QLabel *>(widget);
                if (!label || label->text().isEmpty())
                    continue;
                const int flags = label->wordWrap() ? Qt::TextWordWrap : 0;
                const QRect needed =
                    label->fontMetrics().boundingRect(QRect(0, 0, label->width(), 1 << 20), flags, label->text());
                // The line's leading may reach a pixel or two past a short
                // box; the ink does not.
                QVERIFY2(needed.width() <= label->width() && needed.height() <= label->height() + 2,
                         qPrintable(where));
            }
        }
    }

    // The texts of the two frames of a page come in one size, the size at
    // which the longer still fits: 乾 beside 离 (a shorter text).
    void framesOfAPageShareOneTextSize_data()
    {
        QTest::addColumn<bool>("translations");
        QTest::newRow("classical texts") << false;
        QTest::newRow("translations") << true;
    }

    void framesOfAPageShareOneTextSize()
    {
        QFETCH(bool, translations);
        ShownCast cast = SampleCast(true);
        cast.primary.text = translations ? HexagramTranslation(1) : HexagramText(1);
        cast.resulting.text = translations ? HexagramTranslation(30) : HexagramText(30);
        PrintLayout layout(translations ? PrintLayoutKind::Translations : PrintLayoutKind::ClassicalTexts, cast,
                           PrintDay, nullptr);
        const QFont primary = RequireChild<QLabel>(layout, QStringLiteral("primary_text_label"))->font();
        const QFont resulting = RequireChild<QLabel>(layout, QStringLiteral("resulting_text_label"))->font();
        QCOMPARE(primary.pixelSize(), resulting.pixelSize());
    }

    void copiesTheCastFromTheMainWindow()
    {
        PrintRig rig(true);
        const ShownCast shown = rig.main.window->ShownCastView();
        QCOMPARE(shown.divinerName, QStringLiteral("某官"));
        QCOMPARE(shown.castTime, QStringLiteral("2006-7-16 14:05:09"));
        QCOMPARE(shown.matterText, QStringLiteral("出行"));
        QCOMPARE(shown.primary.number, QStringLiteral("1"));
        QCOMPARE(shown.primary.name, QStringLiteral("乾"));
        QCOMPARE(shown.primary.lines, QStringLiteral("111111"));
        QCOMPARE(shown.primary.text, Normalised(HexagramText(1)));
        QCOMPARE(shown.resulting.name, QStringLiteral("夬"));
        QCOMPARE(shown.resulting.lines, QStringLiteral("111110"));
        QVERIFY(shown.resultingShown);
        QCOMPARE(shown.ruleText, QStringLiteral("变1爻：则以本卦变爻辞占。"));
        QCOMPARE(shown.linePositions[0], QStringLiteral("初"));
        QCOMPARE(shown.linePositions[5], QStringLiteral("上"));
        for (int line = 1; line <= 6; ++line) {
            const auto *primary = In<PictureLabel>(rig.main.window.get(), QStringLiteral("primary_hexagram_frame/primary_line_%1_picture").arg(line));
            QCOMPARE(shown.primary.pictures[line - 1].toImage(), primary->Picture().toImage());
        }
        // The changing top line is red in both hexagrams, the others are not.
        QVERIFY(shown.primary.pictures[5].toImage() != shown.primary.pictures[4].toImage());
        QVERIFY(shown.resulting.pictures[5].toImage() != shown.primary.pictures[5].toImage());
        QVERIFY(!SampleCast(false).resultingShown);
    }

    void printCommandOpensTheLayoutTheSettingsChoose_data()
    {
        QTest::addColumn<std::optional<bool>>("printTranslation");
        QTest::addColumn<bool>("withChange");
        QTest::addColumn<QString>("question");
        QTest::addColumn<QString>("layoutName");
        QTest::addColumn<QString>("primaryText");
        QTest::addColumn<QString>("resultingText");
        const QString plain = QStringLiteral("确定要打印此卦吗?");
        const QString translated = QStringLiteral("确定要打印此卦(含译文)吗?");
        QTest::newRow("classical, no change") << std::optional<bool>() << false << plain << QStringLiteral("classical_print_layout")
                                              << Normalised(HexagramText(1)) << Normalised(HexagramText(1));
        QTest::newRow("classical, with change") << std::optional<bool>(false) << true << plain << QStringLiteral("classical_print_layout")
                                                << Normalised(HexagramText(1)) << Normalised(HexagramText(43));
        QTest::newRow("never set, with change") << std::optional<bool>() << true << plain << QStringLiteral("classical_print_layout")
                                        << Normalised(HexagramText(1)) << Normalised(HexagramText(43));
        // Without a change the resulting text is not looked up.
        QTest::newRow("translation, no change") << std::optional<bool>(true) << false << translated
                                                << QStringLiteral("translation_print_layout") << Normalised(HexagramTranslation(1))
                                                << Normalised(HexagramText(1));
        QTest::newRow("translation, with change") << std::optional<bool>(true) << true << translated
                                                  << QStringLiteral("translation_print_layout") << Normalised(HexagramTranslation(1))
                                                  << Normalised(HexagramTranslation(43));
    }

    void printCommandOpensTheLayoutTheSettingsChoose()
    {
        QFETCH(std::optional<bool>, printTranslation);
        QFETCH(bool, withChange);
        QFETCH(QString, question);
        QFETCH(QString, layoutName);
        QFETCH(QString, primaryText);
        QFETCH(QString, resultingText);
        PrintRig rig(withChange, printTranslation);
        rig.main.effects.played.clear();
        rig.main.dialogs.boxes.clear();
        rig.main.dialogs.yesNoAnswers.push_back(true);

        QTest::keyRelease(rig.main.window.get(), Qt::Key_F9);
        QCOMPARE(rig.main.effects.played, QStringList{rig.main.ClickSound()});
        QCOMPARE(rig.main.dialogs.boxes.size(), size_t(1));
        QCOMPARE(rig.main.dialogs.boxes[0].text, question);
        QCOMPARE(rig.main.dialogs.boxes[0].title, QStringLiteral("《Ravezaz》系统"));
        QVERIFY(rig.main.dialogs.boxes[0].yesIsDefault);

        PrintLayout *layout = rig.Layout();
        QVERIFY(layout);
        QVERIFY(layout->isVisible());
        QCOMPARE(layout->objectName(), layoutName);
        QCOMPARE(RequireChild<QLabel>(*layout, QStringLiteral("primary_text_label"))->text(), primaryText);
        QCOMPARE(RequireChild<QLabel>(*layout, QStringLiteral("resulting_text_label"))->text(), resultingText);
        QCOMPARE(RequireChild(*layout, QStringLiteral("resulting_frame"))->isVisibleTo(layout), withChange);
        QCOMPARE(RequireChild<QLabel>(*layout, QStringLiteral("diviner_name_label"))->text(), QStringLiteral("某官"));
        // A machine with a printer prints at once, titled with the cast.
        QCOMPARE(rig.printers.pages, QStringList{layoutName});
        QCOMPARE(rig.printers.titles,
                 QStringList{withChange ? QStringLiteral("乾之夬 — 某官 — 2006-07-16") : QStringLiteral("乾 — 某官 — 2006-07-16")});
        QVERIFY(rig.printers.coversOffWhilePrinting);
        QVERIFY(!rig.PrintCommand()->isEnabled());
        // The main window stays usable while the layout shows.
        QVERIFY(!layout->isModal());
        // A sheet without the window manager's title bar, as every window of the program.
        QVERIFY(layout->windowFlags() & Qt::FramelessWindowHint);
        QVERIFY(QApplication::activeModalWidget() == nullptr);
    }

    void translationsBeginWithLineStringNameAndNumeral()
    {
        PrintRig rig(true, true);
        rig.main.dialogs.yesNoAnswers.push_back(true);
        QTest::keyRelease(rig.main.window.get(), Qt::Key_F9);
        PrintLayout *layout = rig.Layout();
        QVERIFY(RequireChild<QLabel>(*layout, QStringLiteral("primary_text_label"))->text().startsWith(QStringLiteral("111111  乾（一）")));
        QVERIFY(RequireChild<QLabel>(*layout, QStringLiteral("resulting_text_label"))
                    ->text()
                    .startsWith(QStringLiteral("111110  夬（四十三）")));
    }

    void answeringNoOpensNothing()
    {
        PrintRig rig(true, true);
        QTest::mouseClick(rig.PrintCommand(), Qt::LeftButton);
        QCOMPARE(rig.main.dialogs.boxes.back().text, QStringLiteral("确定要打印此卦(含译文)吗?"));
        QVERIFY(!rig.Layout());
        QVERIFY(rig.printers.pages.isEmpty());
        QVERIFY(rig.PrintCommand()->isEnabled());
    }

    void printCommandComesBackWhenTheLayoutCloses_data()
    {
        QTest::addColumn<std::function<void(PrintLayout *)>>("close");
        using Close = std::function<void(PrintLayout *)>;
        QTest::newRow("after six seconds") << Close([](PrintLayout *layout) {
            auto *timer = RequireChild<QTimer>(*layout, QStringLiteral("close_timer"));
            QCOMPARE(timer->interval(), 6000);
            QVERIFY(timer->isActive() && timer->isSingleShot());
            timer->start(10);
        });
        QTest::newRow("F12") << Close([](PrintLayout *layout) { QTest::keyRelease(layout, Qt::Key_F12); });
        QTest::newRow("click on the layout") << Close([](PrintLayout *layout) {
            QTest::mouseClick(RequireChild(*layout, QStringLiteral("page_cover")), Qt::LeftButton);
        });
        QTest::newRow("click on the primary frame") << Close([](PrintLayout *layout) {
            QTest::mouseClick(RequireChild(*layout, QStringLiteral("primary_frame_cover")), Qt::LeftButton);
        });
        QTest::newRow("click on the resulting frame") << Close([](PrintLayout *layout) {
            QTest::mouseClick(RequireChild(*layout, QStringLiteral("resulting_frame_cover")), Qt::LeftButton);
        });
    }

    void printCommandComesBackWhenTheLayoutCloses()
    {
        QFETCH(std::function<void(PrintLayout *)>, close);
        PrintRig rig(true);
        rig.main.dialogs.yesNoAnswers.push_back(true);
        QTest::keyRelease(rig.main.window.get(), Qt::Key_F9);
        QPointer<PrintLayout> layout = rig.Layout();
        QVERIFY(layout);
        // F9 again while the layout shows does nothing.
        QTest::keyRelease(rig.main.window.get(), Qt::Key_F9);
        QCOMPARE(rig.main.dialogs.boxes.size(), size_t(1));

        close(layout);
        QTRY_VERIFY(layout.isNull());
        QVERIFY(rig.PrintCommand()->isEnabled());
    }

    // No printer: the question, the save dialog in the documents folder, and
    // a PDF whose text (read back by pdftotext) is the layout's text.
    void noPrinterSavesTheCastAsPdf_data()
    {
        QTest::addColumn<std::optional<bool>>("printTranslation");
        QTest::addColumn<bool>("withChange");
        QTest::addColumn<QStringList>("printed");
        // Texts that must not be on the page.
        QTest::addColumn<QStringList>("absent");
        QTest::addColumn<QString>("title");
        const QStringList details{QStringLiteral("姓名："), QStringLiteral("某官"), QStringLiteral("成卦时间："),
                                  QStringLiteral("2006-7-16 14:05:09"), QStringLiteral("占筮事由："),
                                  QStringLiteral("出行"), QStringLiteral("本卦"), QStringLiteral("111111")};
        const QString changeRule = QStringLiteral("变1爻：则以本卦变爻辞占。");
        const QString stillRule = QStringLiteral("凡卦六爻皆不变,则占本卦彖辞,而以内卦为贞,外卦为悔。");
        QTest::newRow("classical texts, with change")
            << std::optional<bool>(false) << true
            << details + QStringList{QStringLiteral("之卦"), QStringLiteral("夬"), QStringLiteral("111110"),
                                     HexagramText(1), HexagramText(43), changeRule}
            << QStringList{} << QStringLiteral("乾之夬 — 某官 — 2006-07-16");
        QTest::newRow("classical texts, no change")
            << std::optional<bool>() << false << details + QStringList{HexagramText(1), stillRule}
            << QStringList{QStringLiteral("之卦")} << QStringLiteral("乾 — 某官 — 2006-07-16");
        QTest::newRow("translations, with change")
            << std::optional<bool>(true) << true
            << details + QStringList{HexagramTranslation(1), HexagramTranslation(43), changeRule}
            << QStringList{HexagramText(1).left(12)} << QStringLiteral("乾之夬 — 某官 — 2006-07-16");
        QTest::newRow("translations, no change")
            << std::optional<bool>(true) << false << details + QStringList{HexagramTranslation(1), stillRule}
            << QStringList{QStringLiteral("之卦"), HexagramText(1).left(12)} << QStringLiteral("乾 — 某官 — 2006-07-16");
    }

    void noPrinterSavesTheCastAsPdf()
    {
        QFETCH(std::optional<bool>, printTranslation);
        QFETCH(bool, withChange);
        QFETCH(QStringList, printed);
        QFETCH(QStringList, absent);
        QFETCH(QString, title);
        PrintRig rig(withChange, printTranslation);
        rig.printers.hasDefault = false;
        const QString path = rig.documents.filePath(QStringLiteral("乾-2006-07-16.pdf"));
        rig.main.dialogs.boxes.clear();
        rig.main.dialogs.yesNoAnswers = {true, true};
        rig.main.dialogs.fileAnswers.push_back(path);
        QTest::keyRelease(rig.main.window.get(), Qt::Key_F9);

        const std::vector<FakeDialogs::Box> questions = rig.main.dialogs.Shown(FakeDialogs::Kind::YesNo);
        QCOMPARE(questions.size(), size_t(2));
        QCOMPARE(questions[1].text, QStringLiteral("没有找到可用的打印机。是否将此卦保存为PDF文件？"));
        QVERIFY(questions[1].yesIsDefault);
        const std::vector<FakeDialogs::Box> saves = rig.main.dialogs.Shown(FakeDialogs::Kind::SaveFile);
        QCOMPARE(saves.size(), size_t(1));
        QCOMPARE(saves[0].title, QStringLiteral("保存为PDF文件"));
        QCOMPARE(saves[0].defaultText, path);
        QVERIFY(rig.main.dialogs.Shown(FakeDialogs::Kind::Message).empty());
        QVERIFY(rig.printers.pages.isEmpty());
        QVERIFY(QFileInfo(path).size() > 0);
        // The layout then stays its six seconds as after printing.
        QVERIFY(RequireChild<QTimer>(*rig.Layout(), QStringLiteral("close_timer"))->isActive());

        if (!HasPoppler())
            QSKIP("pdftotext and pdfinfo (poppler-utils) are not installed: the PDF cannot be read back");
        const QString text = PdfText(path);
        for (const QString &expected : printed)
            QVERIFY2(text.contains(WithoutSpace(expected)), qPrintable(expected.left(40)));
        for (const QString &unexpected : absent)
            QVERIFY2(!text.contains(WithoutSpace(unexpected)), qPrintable(unexpected));
        QCOMPARE(PdfTitle(path), title);
    }

    // Answering No to the PDF, or cancelling the save dialog, writes nothing
    // and says nothing more.
    void noPrinterAndNoPdfWritesNothing_data()
    {
        QTest::addColumn<bool>("wantsPdf");
        QTest::addColumn<size_t>("saveDialogs");
        QTest::newRow("No to the PDF") << false << size_t(0);
        QTest::newRow("save dialog cancelled") << true << size_t(1);
    }

    void noPrinterAndNoPdfWritesNothing()
    {
        QFETCH(bool, wantsPdf);
        QFETCH(size_t, saveDialogs);
        PrintRig rig(true);
        rig.printers.hasDefault = false;
        rig.main.dialogs.yesNoAnswers = {true, wantsPdf};
        QTest::keyRelease(rig.main.window.get(), Qt::Key_F9);
        QCOMPARE(rig.main.dialogs.Shown(FakeDialogs::Kind::SaveFile).size(), saveDialogs);
        QVERIFY(rig.main.dialogs.Shown(FakeDialogs::Kind::Message).empty());
        QVERIFY(QDir(rig.documents.path()).isEmpty());
        QVERIFY(RequireChild<QTimer>(*rig.Layout(), QStringLiteral("close_timer"))->isActive());
    }

    // A PDF that cannot be written is said so, with its path; no file is left.
    void pdfWriteFailureIsReported_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::newRow("folder is a file") << QStringLiteral("notes.txt");
        QTest::newRow("folder missing") << QStringLiteral("gone");
    }

    void pdfWriteFailureIsReported()
    {
        QFETCH(QString, folder);
        PrintRig rig(true);
        rig.printers.hasDefault = false;
        QFile notes(rig.documents.filePath(QStringLiteral("notes.txt")));
        QVERIFY(notes.open(QIODevice::WriteOnly));
        notes.close();
        const QString path = rig.documents.filePath(folder + QStringLiteral("/乾-2006-07-16.pdf"));
        rig.main.dialogs.yesNoAnswers = {true, true};
        rig.main.dialogs.fileAnswers.push_back(path);
        QTest::keyRelease(rig.main.window.get(), Qt::Key_F9);

        const std::vector<FakeDialogs::Box> messages = rig.main.dialogs.Shown(FakeDialogs::Kind::Message);
        QCOMPARE(messages.size(), size_t(1));
        QVERIFY(messages[0].text.startsWith(QStringLiteral("无法保存PDF文件：")));
        QVERIFY(messages[0].text.contains(QDir::toNativeSeparators(path)));
        QCOMPARE(messages[0].icon, DialogService::Icon::Warning);
        QCOMPARE(messages[0].title, QStringLiteral("Ravezaz"));
        QVERIFY(!QFileInfo::exists(path));
        QCOMPARE(QDir(rig.documents.path()).entryList(QDir::Files | QDir::NoDotAndDotDot),
                 QStringList{QStringLiteral("notes.txt")});
    }

    // With a printer the page goes out without a dialog; a job the printing
    // system refuses is said so, with its reason.
    void printerRefusalIsReported_data()
    {
        QTest::addColumn<std::optional<QString>>("refusal");
        QTest::addColumn<QStringList>("messages");
        QTest::newRow("job accepted") << std::optional<QString>() << QStringList{};
        QTest::newRow("job refused") << std::optional<QString>(QStringLiteral("The printer is not accepting jobs."))
                                     << QStringList{QStringLiteral("打印失败，打印机没有接受此打印任务。\n\n"
                                                                   "The printer is not accepting jobs.")};
    }

    void printerRefusalIsReported()
    {
        QFETCH(std::optional<QString>, refusal);
        QFETCH(QStringList, messages);
        PrintRig rig(true);
        rig.printers.refusal = refusal;
        rig.main.dialogs.boxes.clear();
        QVERIFY(rig.PrintWithF9());
        QCOMPARE(rig.printers.pages.size(), 1);
        QCOMPARE(rig.main.dialogs.Shown(FakeDialogs::Kind::YesNo).size(), size_t(1));
        QVERIFY(rig.main.dialogs.Shown(FakeDialogs::Kind::SaveFile).empty());
        QStringList shown;
        for (const FakeDialogs::Box &box : rig.main.dialogs.Shown(FakeDialogs::Kind::Message))
            shown << box.text;
        QCOMPARE(shown, messages);
    }

    void titleAndFileNameNameTheCast_data()
    {
        QTest::addColumn<QString>("castTime");
        QTest::addColumn<QString>("divinerName");
        QTest::addColumn<bool>("withChange");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("fileName");
        QTest::newRow("cast with change") << QStringLiteral("2026-12-11 9:05:00") << QStringLiteral("某官") << true
                                          << QStringLiteral("乾之姤 — 某官 — 2026-12-11")
                                          << QStringLiteral("乾-2026-12-11.pdf");
        QTest::newRow("cast without change") << QStringLiteral("2026-12-11 9:05:00") << QStringLiteral("某官")
                                             << false << QStringLiteral("乾 — 某官 — 2026-12-11")
                                             << QStringLiteral("乾-2026-12-11.pdf");
        QTest::newRow("no name") << QStringLiteral("2026-12-11 9:05:00") << QStringLiteral("  ") << false
                                 << QStringLiteral("乾 — 2026-12-11") << QStringLiteral("乾-2026-12-11.pdf");
        QTest::newRow("typed date in short form") << QStringLiteral("2026-1-5 8:00(人工输入)") << QStringLiteral("某官")
                                                  << false << QStringLiteral("乾 — 某官 — 2026-01-05")
                                                  << QStringLiteral("乾-2026-01-05.pdf");
        QTest::newRow("typed time without a date: today")
            << QStringLiteral("丙戌年六月(人工输入)") << QStringLiteral("某官") << false
            << QStringLiteral("乾 — 某官 — 2027-01-02") << QStringLiteral("乾-2027-01-02.pdf");
        QTest::newRow("impossible date: today") << QStringLiteral("2026-13-40 8:00(人工输入)") << QStringLiteral("某官")
                                                << false << QStringLiteral("乾 — 某官 — 2027-01-02")
                                                << QStringLiteral("乾-2027-01-02.pdf");
    }

    void titleAndFileNameNameTheCast()
    {
        QFETCH(QString, castTime);
        QFETCH(QString, divinerName);
        QFETCH(bool, withChange);
        QFETCH(QString, title);
        QFETCH(QString, fileName);
        ShownCast cast;
        cast.castTime = castTime;
        cast.divinerName = divinerName;
        cast.primary.name = QStringLiteral("乾");
        cast.resulting.name = QStringLiteral("姤");
        cast.resultingShown = withChange;
        const QDate today(2027, 1, 2);
        QCOMPARE(PrintTitle(cast, today), title);
        QCOMPARE(PdfFileName(cast, today), fileName);
    }

    // The real save dialog: titled, in the proposed folder with the proposed
    // name, and Enter takes it.
    void saveDialogProposesTheFileAndEnterAcceptsIt()
    {
        QTemporaryDir folder;
        const QString proposed = folder.filePath(QStringLiteral("乾-2026-12-11.pdf"));
        QString title;
        QString shownFolder;
        QString shownName;
        ModalWatch watch(QString(), [&](QDialog *modal) {
            auto *dialog = qobject_cast<QFileDialog *>(modal);
            QVERIFY(dialog);
            title = dialog->windowTitle();
            shownFolder = dialog->directory().absolutePath();
            auto *name = RequireChild<QLineEdit>(*dialog, QStringLiteral("fileNameEdit"));
            shownName = name->text();
            QTest::keyClick(name, Qt::Key_Return);
        });
        WidgetDialogService dialogs;
        const std::optional<QString> chosen =
            dialogs.AskSaveFile(nullptr, QStringLiteral("保存为PDF文件"), proposed, QStringLiteral("PDF文件 (*.pdf)"));
        QCOMPARE(title, QStringLiteral("保存为PDF文件"));
        QCOMPARE(shownFolder, QDir(folder.path()).absolutePath());
        QCOMPARE(shownName, QStringLiteral("乾-2026-12-11.pdf"));
        QCOMPARE(chosen, std::optional<QString>(proposed));
    }

    // The documents folder is made when missing; the home folder serves
    // when it cannot be.
    void pdfFolderIsDocumentsOrHome_data()
    {
        QTest::addColumn<bool>("documentsIsAFile");
        QTest::addColumn<QString>("expected");
        QTest::newRow("documents folder missing: made") << false << QStringLiteral("Documents");
        QTest::newRow("documents taken by a file: home") << true << QString();
    }

    void pdfFolderIsDocumentsOrHome()
    {
        QFETCH(bool, documentsIsAFile);
        QFETCH(QString, expected);
        QTemporaryDir home;
        const QByteArray oldHome = qgetenv("HOME");
        const QByteArray oldConfig = qgetenv("XDG_CONFIG_HOME");
        const auto restore = qScopeGuard([&] {
            qputenv("HOME", oldHome);
            qputenv("XDG_CONFIG_HOME", oldConfig);
        });
        qputenv("HOME", QFile::encodeName(home.path()));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.filePath(QStringLiteral(".config"))));
        if (documentsIsAFile) {
            QFile taken(home.filePath(QStringLiteral("Documents")));
            QVERIFY(taken.open(QIODevice::WriteOnly));
        }
        const QString folder = DocumentsFolderOrHome();
        QCOMPARE(QDir(folder).absolutePath(), QDir(home.filePath(expected)).absolutePath());
        QVERIFY(QFileInfo(folder).isDir());
    }

    void pageHoldsTheLayout_data()
    {
        QTest::addColumn<bool>("translations");
        QTest::addColumn<bool>("withChange");
        QTest::newRow("classical texts, no change") << false << false;
        QTest::newRow("classical texts, with change") << false << true;
        QTest::newRow("translations, no change") << true << false;
        QTest::newRow("translations, with change") << true << true;
    }

    void pageHoldsTheLayout()
    {
        QFETCH(bool, translations);
        QFETCH(bool, withChange);
        ShownCast cast = SampleCast(withChange);
        if (translations)
            PutTranslations(cast);
        const PrintLayoutKind kind = translations ? PrintLayoutKind::Translations : PrintLayoutKind::ClassicalTexts;
        PrintLayout layout(kind, cast, PrintDay, nullptr);
        layout.show();

        // On paper: one landscape A4 page.
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("layout.pdf"));
        {
            QPdfWriter writer(path);
            writer.setResolution(300);
            QVERIFY(PaintPrintPageOn(writer, layout.Job().page));
        }
        QFile pdf(path);
        QVERIFY(pdf.open(QIODevice::ReadOnly));
        const QByteArray bytes = pdf.readAll();
        QVERIFY(bytes.startsWith("%PDF"));
        QCOMPARE(bytes.count("/Type /Page\n"), 1);
        QVERIFY(bytes.contains("/MediaBox [0 0 841.89") || bytes.contains("/MediaBox [0 0 842"));

        // The same painting on a page picture: the layout fills the width
        // between the margins, the primary frame has ink, the resulting
        // frame only when it is shown.
        QImage page(1169, 827, QImage::Format_RGB32);
        page.fill(Qt::white);
        const QRectF paper(59, 59, 1169 - 118, 827 - 118);
        {
            QPainter painter(&page);
            PaintPrintPage(painter, layout.Job().page, paper);
        }
        const qreal scale = std::min(paper.width() / layout.width(), paper.height() / layout.height());
        // Where a widget, or for a label the box its text takes, lands on the page.
        const auto onPage = [&](const QWidget *widget) {
            QRect box(widget->mapTo(&layout, QPoint()), widget->size());
            if (const auto *label = qobject_cast<const QLabel *>(widget)) {
                const int flags = int(label->alignment()) | (label->wordWrap() ? Qt::TextWordWrap : 0);
                box = label->fontMetrics().boundingRect(label->rect(), flags, label->text()).translated(box.topLeft());
            }
            const qreal left = paper.left() + (paper.width() - layout.width() * scale) / 2;
            return QRectF(left + box.x() * scale, paper.top() + box.y() * scale, box.width() * scale,
                          box.height() * scale)
                .toAlignedRect()
                .adjusted(2, 2, -2, -2);
        };
        QVERIFY(InkShare(page, onPage(RequireChild(layout, QStringLiteral("primary_text_label")))) > 0.02);
        QVERIFY(InkShare(page, onPage(RequireChild(layout, QStringLiteral("primary_name_label")))) > 0.05);
        QVERIFY(InkShare(page, onPage(RequireChild(layout, QStringLiteral("primary_line_3_picture")))) > 0.5);
        QVERIFY(InkShare(page, onPage(RequireChild(layout, QStringLiteral("diviner_name_label")))) > 0.02);
        QVERIFY(InkShare(page, onPage(RequireChild(layout, QStringLiteral("rule_label")))) > 0.02);
        const double resultingInk = InkShare(page, onPage(RequireChild(layout, QStringLiteral("resulting_frame"))));
        QCOMPARE(resultingInk > 0.01, withChange);
        // The changing top line keeps its red; the line below stays black.
        const auto colourAt = [&](const QString &picture) {
            return page.pixelColor(onPage(RequireChild(layout, picture)).center());
        };
        const QColor topLine = colourAt(QStringLiteral("primary_line_6_picture"));
        QCOMPARE(topLine.red() > 180 && topLine.green() < 80, withChange);
        QVERIFY(colourAt(QStringLiteral("primary_line_5_picture")).value() < 80);
        // Outside the margins the paper stays white.
        QCOMPARE(InkShare(page, QRect(0, 0, 1169, 55)), 0.0);
        QCOMPARE(InkShare(page, QRect(0, 0, 55, 827)), 0.0);
    }
};

QTEST_MAIN(PrintLayoutTest)
#include "test_print_layout.moc"
