#include "ui/windows/pdf_ideographs.h"

#include <QBuffer>
#include <QFont>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QRawFont>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <set>

namespace {

const QString SerifFace = QStringLiteral("Noto Serif CJK SC");
const QString SansFace = QStringLiteral("Noto Sans CJK SC");
const QString Title = QStringLiteral("乾之姤 — 某官 — 2026-12-11");

// A one-page PDF from Qt's writer with `text` in `face`.
QByteArray PdfWithText(const QString &text, const QString &face)
{
    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&pdf);
        writer.setTitle(Title);
        QPainter painter(&writer);
        QFont font(face);
        font.setPointSize(12);
        painter.setFont(font);
        painter.drawText(QRect(0, 0, writer.width(), writer.height()), Qt::TextWordWrap, text);
    }
    return pdf.data();
}

// The ideographs `face` draws with the glyph of a Kangxi or supplement
// radical: the ones Qt's writer names by that radical.
QString IdeographsSharingARadicalsGlyph(const QString &face)
{
    QFont font(face);
    font.setPixelSize(20);
    const QRawFont raw = QRawFont::fromFont(font);
    const auto glyph = [&raw](char16_t unit) {
        const QList<quint32> glyphs = raw.glyphIndexesForString(QString(QChar(unit)));
        return glyphs.isEmpty() ? 0u : glyphs.front();
    };
    std::set<quint32> radicalGlyphs;
    for (char16_t radical = 0x2E80; radical <= 0x2FD5; ++radical) {
        if (const quint32 index = glyph(radical))
            radicalGlyphs.insert(index);
    }
    QString ideographs;
    for (char16_t ideograph = 0x4E00; ideograph <= 0x9FFF; ++ideograph) {
        if (radicalGlyphs.count(glyph(ideograph)))
            ideographs += QChar(ideograph);
    }
    return ideographs;
}

bool HasPoppler()
{
    return !QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty() &&
           !QStandardPaths::findExecutable(QStringLiteral("pdfinfo")).isEmpty();
}

// The output of a poppler tool run on `pdf`, with `arguments` before the file.
QString PopplerOutput(const QString &tool, const QByteArray &pdf, QStringList arguments,
                      const QStringList &after = {})
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("page.pdf"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(pdf) != pdf.size())
        return {};
    file.close();
    QProcess run;
    run.start(QStandardPaths::findExecutable(tool), arguments << path << after);
    run.waitForFinished(60000);
    return QString::fromUtf8(run.readAllStandardOutput());
}

// The text of `pdf` without white space.
QString PdfText(const QByteArray &pdf)
{
    static const QRegularExpression space(QStringLiteral("\\s"));
    return PopplerOutput(QStringLiteral("pdftotext"), pdf, {QStringLiteral("-enc"), QStringLiteral("UTF-8")},
                         {QStringLiteral("-")})
        .remove(space);
}

// What pdfinfo says of `pdf` under `field`.
QString PdfInfo(const QByteArray &pdf, const QString &field)
{
    const QStringList lines =
        PopplerOutput(QStringLiteral("pdfinfo"), pdf, {QStringLiteral("-enc"), QStringLiteral("UTF-8")})
            .split(QLatin1Char('\n'));
    for (const QString &line : lines) {
        if (line.startsWith(field + QLatin1Char(':')))
            return line.mid(field.size() + 1).trimmed();
    }
    return {};
}

// `pdf` with the first `from` replaced by `to`.
QByteArray Replaced(QByteArray pdf, const QByteArray &from, const QByteArray &to)
{
    const qsizetype at = pdf.indexOf(from);
    return at < 0 ? QByteArray() : pdf.replace(at, from.size(), to);
}

// `pdf` with its cross-reference table said to start at `offset`.
QByteArray WithTableAt(const QByteArray &pdf, qsizetype offset)
{
    return pdf.left(pdf.lastIndexOf("startxref")) + "startxref\n" + QByteArray::number(offset) + "\n%%EOF\n";
}

} // namespace

class PdfIdeographsTest : public QObject {
    Q_OBJECT

private slots:
    void textReadsBackAsWritten_data()
    {
        QTest::addColumn<QString>("face");
        QTest::addColumn<QString>("text");
        QTest::newRow("serif, 行 二 龙 乾") << SerifFace << QStringLiteral("行二龙乾");
        QTest::newRow("sans, 行 二 龙 乾") << SansFace << QStringLiteral("行二龙乾");
        // Qt writes a lone glyph as a range of one.
        QTest::newRow("serif, 行 alone") << SerifFace << QStringLiteral("行");
        // ⼾ stands for 戶 by its compatibility form, but these faces draw 户 with it.
        QTest::newRow("serif, 门户") << SerifFace << QStringLiteral("门户");
        QTest::newRow("serif, every ideograph drawn with a radical's glyph")
            << SerifFace << IdeographsSharingARadicalsGlyph(SerifFace);
        QTest::newRow("sans, every ideograph drawn with a radical's glyph")
            << SansFace << IdeographsSharingARadicalsGlyph(SansFace);
    }

    void textReadsBackAsWritten()
    {
        QFETCH(QString, face);
        QFETCH(QString, text);
        if (QFontInfo(QFont(face)).family() != face)
            QSKIP("the Noto CJK SC fonts (fonts-noto-cjk) are not installed");
        if (!HasPoppler())
            QSKIP("pdftotext and pdfinfo (poppler-utils) are not installed: the PDF cannot be read back");
        QVERIFY(!text.isEmpty());
        const QByteArray pdf = PdfWithText(text, face);
        const QByteArray named = WithIdeographsForRadicals(pdf);
        QCOMPARE(PdfText(named), text);
        // The page itself is left as it was, and so is the title.
        QVERIFY(named.startsWith(pdf));
        QCOMPARE(PdfInfo(named, QStringLiteral("Title")), Title);
        QCOMPARE(PdfInfo(named, QStringLiteral("Pages")), QStringLiteral("1"));
    }

    void pdfWithoutRadicalsIsKept()
    {
        const QByteArray pdf = PdfWithText(QStringLiteral("ABC 乾坤 2026-12-11"), SerifFace);
        QCOMPARE(WithIdeographsForRadicals(pdf), pdf);
    }

    // Files this cannot read are returned as they are, never half changed.
    void unreadablePdfIsKept_data()
    {
        QTest::addColumn<QByteArray>("pdf");
        const QByteArray pdf = PdfWithText(QStringLiteral("行二"), SerifFace);
        QTest::newRow("nothing") << QByteArray();
        QTest::newRow("not a PDF") << QByteArray("行 二 龙 乾\n%%EOF\n");
        QTest::newRow("cut short") << pdf.left(pdf.size() / 2);
        QTest::newRow("table past the end") << WithTableAt(pdf, pdf.size() + 100);
        QTest::newRow("table where there is none") << WithTableAt(pdf, 0);
        QTest::newRow("map longer than its stream") << Replaced(pdf, "<< /Length ", "<< /Length 9");
        QTest::newRow("compressed map") << Replaced(pdf, "<< /Length ", "<< /Filter /FlateDecode /Length ");
        QTest::newRow("map text of an odd length") << Replaced(pdf, "[<2F8F>", "[<2F8F0>");
        QTest::newRow("map range ending before it starts") << Replaced(pdf, "<0001> <0002> [", "<0002> <0001> [");
        QTest::newRow("already updated") << WithIdeographsForRadicals(pdf);
    }

    void unreadablePdfIsKept()
    {
        QFETCH(QByteArray, pdf);
        if (QTest::currentDataTag() != QByteArray("nothing"))
            QVERIFY(!pdf.isEmpty());
        QCOMPARE(WithIdeographsForRadicals(pdf), pdf);
    }
};

QTEST_MAIN(PdfIdeographsTest)
#include "test_pdf_ideographs.moc"
