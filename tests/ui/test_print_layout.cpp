#include "core/current_cast.h"
#include "core/resolution.h"
#include "main_window_rig.h"
#include "texts/hexagram_texts.h"
#include "ui/widgets/picture_label.h"
#include "ui/windows/print_layout.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinterInfo>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

namespace {

// Keeps what it was asked to print: whether the click-to-close labels were
// still off, and the page as it would come out.
class FakePrinter final : public LayoutPrinter {
public:
    void Print(QWidget &layout) override
    {
        ++jobs;
        coversOffWhilePrinting = !layout.findChild<QWidget *>(QStringLiteral("Label3"))->isEnabled();
    }
    int jobs = 0;
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

// A main window showing a cast, with the print command connected to a fake
// printer.
struct PrintRig {
    explicit PrintRig(bool withChange, std::optional<bool> printTranslation = std::nullopt)
    {
        main.settings.printTranslation = printTranslation;
        main.Load();
        main.window->ShowCastView(CastOfQian(withChange));
        services.dialogs = &main.dialogs;
        services.effects = &main.effects;
        services.programFolder = main.folder.path();
        services.settings = &main.settings;
        services.printer = &printer;
        ConnectPrintCommand(*main.window, services);
    }

    QWidget *PrintCommand() const { return main.Control(QStringLiteral("print_button")); }

    // The open layout, if any.
    PrintLayout *Layout() const { return main.window->findChild<PrintLayout *>(); }

    MainWindowRig main;
    FakePrinter printer;
    PrintCommandServices services;
};

QString Normalised(QString text)
{
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

template <typename T = QWidget>
T *In(const QWidget *parent, const QString &path)
{
    const QStringList names = path.split(QLatin1Char('/'));
    const QWidget *at = parent;
    for (int i = 0; i + 1 < names.size() && at; ++i)
        at = at->findChild<QWidget *>(names[i]);
    return at ? at->findChild<T *>(names.last()) : nullptr;
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

} // namespace

class PrintLayoutTest : public QObject {
    Q_OBJECT

private slots:
    void layoutsFollowTheirArrangementInTwips_data()
    {
        QTest::addColumn<bool>("translations");
        QTest::addColumn<QString>("control");
        QTest::addColumn<QRect>("geometry");
        QTest::newRow("8: name caption") << false << QStringLiteral("Label17") << QRect(80, 33, 48, 19);
        QTest::newRow("8: name") << false << QStringLiteral("Label20") << QRect(128, 32, 161, 19);
        QTest::newRow("8: time") << false << QStringLiteral("Label19") << QRect(352, 33, 249, 19);
        QTest::newRow("8: matter") << false << QStringLiteral("Label21") << QRect(144, 53, 449, 19);
        QTest::newRow("8: primary frame") << false << QStringLiteral("Frame1") << QRect(56, 84, 265, 332);
        QTest::newRow("8: resulting frame") << false << QStringLiteral("Frame2") << QRect(344, 84, 265, 332);
        QTest::newRow("8: 上 at the top") << false << QStringLiteral("Label15") << QRect(320, 112, 24, 17);
        QTest::newRow("8: 初 at the bottom") << false << QStringLiteral("Label10") << QRect(320, 192, 24, 17);
        QTest::newRow("8: rule") << false << QStringLiteral("Label7") << QRect(56, 424, 553, 41);
        QTest::newRow("8: primary number") << false << QStringLiteral("Frame1/Label8") << QRect(112, 16, 40, 17);
        QTest::newRow("8: primary name") << false << QStringLiteral("Frame1/Labelbg") << QRect(40, 40, 120, 49);
        QTest::newRow("8: primary lines") << false << QStringLiteral("Frame1/Label5") << QRect(40, 96, 120, 17);
        QTest::newRow("8: primary line 6") << false << QStringLiteral("Frame1/Image6") << QRect(160, 32, 64, 5);
        QTest::newRow("8: primary line 1") << false << QStringLiteral("Frame1/Image1") << QRect(160, 112, 64, 5);
        QTest::newRow("8: primary text") << false << QStringLiteral("Frame1/Label1") << QRect(8, 136, 249, 193);
        QTest::newRow("8: resulting name") << false << QStringLiteral("Frame2/Labelzg") << QRect(112, 40, 120, 49);
        QTest::newRow("8: resulting line 1") << false << QStringLiteral("Frame2/Image7") << QRect(40, 112, 64, 5);
        QTest::newRow("8: whole cover") << false << QStringLiteral("Label3") << QRect(0, 0, 633, 465);
        QTest::newRow("82: name caption") << true << QStringLiteral("Label17") << QRect(64, 17, 48, 19);
        QTest::newRow("82: matter") << true << QStringLiteral("Label21") << QRect(128, 37, 585, 19);
        QTest::newRow("82: primary frame") << true << QStringLiteral("Frame1") << QRect(32, 68, 345, 452);
        QTest::newRow("82: resulting frame") << true << QStringLiteral("Frame2") << QRect(400, 68, 345, 452);
        QTest::newRow("82: 上 at the top") << true << QStringLiteral("Label15") << QRect(376, 96, 24, 17);
        QTest::newRow("82: 初 at the bottom") << true << QStringLiteral("Label10") << QRect(376, 176, 24, 17);
        QTest::newRow("82: rule") << true << QStringLiteral("Label7") << QRect(56, 528, 665, 17);
        QTest::newRow("82: primary number") << true << QStringLiteral("Frame1/Label8") << QRect(153, 16, 40, 17);
        QTest::newRow("82: primary line 1") << true << QStringLiteral("Frame1/Image1") << QRect(231, 112, 64, 5);
        QTest::newRow("82: resulting line 6") << true << QStringLiteral("Frame2/Image12") << QRect(50, 32, 64, 5);
        QTest::newRow("82: resulting lines") << true << QStringLiteral("Frame2/Label6") << QRect(176, 96, 120, 17);
        QTest::newRow("82: primary text") << true << QStringLiteral("Frame1/Label1") << QRect(6, 128, 333, 321);
        QTest::newRow("82: whole cover") << true << QStringLiteral("Label3") << QRect(0, 0, 761, 545);
    }

    void layoutsFollowTheirArrangementInTwips()
    {
        QFETCH(bool, translations);
        QFETCH(QString, control);
        QFETCH(QRect, geometry);
        PrintLayout layout(translations ? PrintLayoutKind::Translations : PrintLayoutKind::ClassicalTexts,
                           SampleCast(true), nullptr);
        QCOMPARE(layout.objectName(), translations ? QStringLiteral("form82") : QStringLiteral("form8"));
        QCOMPARE(layout.windowTitle(), QStringLiteral("打印窗口"));
        QWidget *widget = In(&layout, control);
        QVERIFY(widget);
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
                               nullptr);
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
                           nullptr);
        const QFont primary = In<QLabel>(&layout, QStringLiteral("Frame1/Label1"))->font();
        const QFont resulting = In<QLabel>(&layout, QStringLiteral("Frame2/Label2"))->font();
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
        QTest::newRow("classical, no change") << std::optional<bool>() << false << plain << QStringLiteral("form8")
                                              << Normalised(HexagramText(1)) << Normalised(HexagramText(1));
        QTest::newRow("classical, with change") << std::optional<bool>(false) << true << plain << QStringLiteral("form8")
                                                << Normalised(HexagramText(1)) << Normalised(HexagramText(43));
        QTest::newRow("never set, with change") << std::optional<bool>() << true << plain << QStringLiteral("form8")
                                        << Normalised(HexagramText(1)) << Normalised(HexagramText(43));
        // Without a change the resulting text is not looked up.
        QTest::newRow("translation, no change") << std::optional<bool>(true) << false << translated
                                                << QStringLiteral("form82") << Normalised(HexagramTranslation(1))
                                                << Normalised(HexagramText(1));
        QTest::newRow("translation, with change") << std::optional<bool>(true) << true << translated
                                                  << QStringLiteral("form82") << Normalised(HexagramTranslation(1))
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
        QCOMPARE(In<QLabel>(layout, QStringLiteral("Frame1/Label1"))->text(), primaryText);
        QCOMPARE(In<QLabel>(layout, QStringLiteral("Frame2/Label2"))->text(), resultingText);
        QCOMPARE(In(layout, QStringLiteral("Frame2"))->isVisibleTo(layout), withChange);
        QCOMPARE(In<QLabel>(layout, QStringLiteral("Label20"))->text(), QStringLiteral("某官"));
        QCOMPARE(rig.printer.jobs, 1);
        QVERIFY(rig.printer.coversOffWhilePrinting);
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
        QVERIFY(In<QLabel>(layout, QStringLiteral("Frame1/Label1"))->text().startsWith(QStringLiteral("111111  乾（一）")));
        QVERIFY(In<QLabel>(layout, QStringLiteral("Frame2/Label2"))
                    ->text()
                    .startsWith(QStringLiteral("111110  夬（四十三）")));
    }

    void answeringNoOpensNothing()
    {
        PrintRig rig(true, true);
        QTest::mouseClick(rig.PrintCommand(), Qt::LeftButton);
        QCOMPARE(rig.main.dialogs.boxes.back().text, QStringLiteral("确定要打印此卦(含译文)吗?"));
        QVERIFY(!rig.Layout());
        QCOMPARE(rig.printer.jobs, 0);
        QVERIFY(rig.PrintCommand()->isEnabled());
    }

    void printCommandComesBackWhenTheLayoutCloses_data()
    {
        QTest::addColumn<std::function<void(PrintLayout *)>>("close");
        using Close = std::function<void(PrintLayout *)>;
        QTest::newRow("after six seconds") << Close([](PrintLayout *layout) {
            auto *timer = layout->findChild<QTimer *>(QStringLiteral("Timer1"));
            QCOMPARE(timer->interval(), 6000);
            QVERIFY(timer->isActive() && timer->isSingleShot());
            timer->start(10);
        });
        QTest::newRow("F12") << Close([](PrintLayout *layout) { QTest::keyRelease(layout, Qt::Key_F12); });
        QTest::newRow("click on the layout") << Close([](PrintLayout *layout) {
            QTest::mouseClick(layout->findChild<QWidget *>(QStringLiteral("Label3")), Qt::LeftButton);
        });
        QTest::newRow("click on the primary frame") << Close([](PrintLayout *layout) {
            QTest::mouseClick(layout->findChild<QWidget *>(QStringLiteral("Label4")), Qt::LeftButton);
        });
        QTest::newRow("click on the resulting frame") << Close([](PrintLayout *layout) {
            QTest::mouseClick(layout->findChild<QWidget *>(QStringLiteral("Label22")), Qt::LeftButton);
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

    void noPrinterIsNotReported()
    {
        if (!QPrinterInfo::defaultPrinter().isNull())
            QSKIP("this machine has a default printer; the test would print a page");
        PrintRig rig(false);
        DefaultLayoutPrinter printer;
        rig.services.printer = &printer;
        rig.main.dialogs.boxes.clear();
        rig.main.dialogs.yesNoAnswers.push_back(true);
        RunPrintCommand(*rig.main.window, rig.services);
        // The question is the only box.
        QCOMPARE(rig.main.dialogs.boxes.size(), size_t(1));
        QVERIFY(rig.Layout());
        QVERIFY(rig.Layout()->findChild<QTimer *>(QStringLiteral("Timer1"))->isActive());
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
        PrintLayout layout(kind, cast, nullptr);
        layout.show();

        // On paper: one landscape A4 page.
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("layout.pdf"));
        {
            QPdfWriter writer(path);
            writer.setResolution(300);
            QVERIFY(PrintLayoutOn(layout, writer));
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
            PaintLayoutOnPage(layout, painter, paper);
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
        QVERIFY(InkShare(page, onPage(In(&layout, QStringLiteral("Frame1/Label1")))) > 0.02);
        QVERIFY(InkShare(page, onPage(In(&layout, QStringLiteral("Frame1/Labelbg")))) > 0.05);
        QVERIFY(InkShare(page, onPage(In(&layout, QStringLiteral("Frame1/Image3")))) > 0.5);
        QVERIFY(InkShare(page, onPage(In(&layout, QStringLiteral("Label20")))) > 0.02);
        QVERIFY(InkShare(page, onPage(In(&layout, QStringLiteral("Label7")))) > 0.02);
        const double resultingInk = InkShare(page, onPage(In(&layout, QStringLiteral("Frame2"))));
        QCOMPARE(resultingInk > 0.01, withChange);
        // Outside the margins the paper stays white.
        QCOMPARE(InkShare(page, QRect(0, 0, 1169, 55)), 0.0);
        QCOMPARE(InkShare(page, QRect(0, 0, 55, 827)), 0.0);
    }
};

QTEST_MAIN(PrintLayoutTest)
#include "test_print_layout.moc"
