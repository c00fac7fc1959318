// The manual pages and the bash completion of ravezaz-cli describe what
// `ravezaz-cli --help` prints. When a command or an option changes, these
// tests name the document that has fallen behind.
#include "cli_run.h"

#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QTest>

namespace {

const QString Packaging = QStringLiteral(RAVEZAZ_PACKAGING);

struct HelpEntry {
    QString syntax;       // "hexagram LINES [--translation]"
    QString description;  // "number, name and text of …"
};

// The command rows of --help: two blanks, the syntax, three or more blanks,
// the description.
QList<HelpEntry> HelpEntries()
{
    const CliResult help = RunCli({QStringLiteral("--help")});
    static const QRegularExpression row(QStringLiteral("^  (\\S.*?) {3,}(\\S.*)$"));
    QList<HelpEntry> entries;
    for (const QString &line : help.out.split(u'\n')) {
        const QRegularExpressionMatch match = row.match(line);
        if (match.hasMatch())
            entries.append({match.captured(1), match.captured(2)});
    }
    return entries;
}

QSet<QString> OptionsIn(const QString &text)
{
    static const QRegularExpression option(QStringLiteral("--[a-z][a-z-]*"));
    QSet<QString> options;
    for (const QRegularExpressionMatch &match : option.globalMatch(text))
        options.insert(match.captured());
    return options;
}

QString ReadText(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", qPrintable(path));
    return QString::fromUtf8(file.readAll());
}

// Man source as a reader sees it: font changes dropped, "\-" as "-".
QString PlainManText(QString text)
{
    static const QRegularExpression fontChange(QStringLiteral("\\\\f[BIRP]"));
    return text.remove(fontChange).replace(QStringLiteral("\\-"), QStringLiteral("-"));
}

struct ManPage {
    QStringList synopsis;  // the lines between .nf and .fi of the synopsis
    QString body;          // everything after the synopsis
};

ManPage SplitManPage(const QString &source, const QString &synopsisHeading)
{
    const QStringList lines = PlainManText(source).split(u'\n');
    const qsizetype start = lines.indexOf(QStringLiteral(".SH ") + synopsisHeading);
    if (start < 0)
        qFatal("no synopsis heading %s", qPrintable(synopsisHeading));
    ManPage page;
    qsizetype i = start + 1;
    for (; i < lines.size() && !lines[i].startsWith(QStringLiteral(".SH ")); ++i) {
        if (!lines[i].startsWith(u'.'))
            page.synopsis.append(lines[i]);
    }
    page.body = lines.mid(i).join(u'\n');
    return page;
}

} // namespace

class TestCliDocuments : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY2(HelpEntries().size() >= 4, "ravezaz-cli --help lists no commands");
    }

    void manPageAgreesWithHelp_data()
    {
        QTest::addColumn<QString>("page");
        QTest::addColumn<QString>("synopsisHeading");
        QTest::addColumn<bool>("sameDescriptions");
        QTest::newRow("English") << QStringLiteral("man/ravezaz-cli.1") << QStringLiteral("SYNOPSIS") << true;
        // The Chinese page translates the descriptions; its synopsis and
        // options are the same.
        QTest::newRow("Chinese") << QStringLiteral("man/zh_CN/ravezaz-cli.1") << QStringLiteral("用法") << false;
    }

    void manPageAgreesWithHelp()
    {
        QFETCH(QString, page);
        QFETCH(QString, synopsisHeading);
        QFETCH(bool, sameDescriptions);
        const ManPage man = SplitManPage(ReadText(Packaging + u'/' + page), synopsisHeading);

        QStringList expectedSynopsis;
        for (const HelpEntry &entry : HelpEntries())
            expectedSynopsis.append(QStringLiteral("ravezaz-cli ") + entry.syntax);
        expectedSynopsis.append(QStringLiteral("ravezaz-cli --help"));
        QCOMPARE(man.synopsis, expectedSynopsis);

        for (const HelpEntry &entry : HelpEntries()) {
            for (const QString &option : OptionsIn(entry.syntax))
                QVERIFY2(man.body.contains(option), qPrintable(option + QStringLiteral(" is not described")));
            if (sameDescriptions)
                QVERIFY2(man.body.contains(entry.description), qPrintable(entry.description));
        }
    }

    void bashCompletionOffersEveryCommandAndOption()
    {
        const QString completion = ReadText(Packaging + QStringLiteral("/ravezaz-cli.bash-completion"));
        for (const HelpEntry &entry : HelpEntries()) {
            QStringList words = OptionsIn(entry.syntax).values();
            words.append(entry.syntax.section(u' ', 0, 0));
            for (const QString &word : words) {
                const QRegularExpression wholeWord(QStringLiteral("(^|[\\s'|])") + QRegularExpression::escape(word)
                                                   + QStringLiteral("([\\s'|)]|$)"));
                QVERIFY2(completion.contains(wholeWord), qPrintable(word + QStringLiteral(" is not completed")));
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestCliDocuments)
#include "test_cli_documents.moc"
