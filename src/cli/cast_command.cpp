#include "cli/commands.h"
#include "core/casting_engine.h"
#include "fileformat/quoted_fields.h"
#include "records/record_file.h"

#include <QHash>

#include <optional>

namespace {

constexpr int exitUsage = 2;
constexpr int exitWriteFailed = 1;

const char *const usage = "用法: ravezaz-cli cast [--seed N] [--name NAME] [--matter TEXT] [--record FILE]\n"
                          "      ravezaz-cli cast --simulate N [--seed S]   (N 为 0 到 10000000)\n";

// A million lines take about five seconds, so a run stays within a minute
// instead of going on for hours without a word of output.
constexpr int mostSimulatedLines = 10'000'000;

// The fields of the casting window hold at most this many characters, and
// an empty field is answered with the prompt's default.
struct FieldRule {
    const char *option;
    const char16_t *defaultText;
    int maxLength;
};
constexpr FieldRule nameRule{"--name", u"某官", 9};
constexpr FieldRule matterRule{"--matter", u"某事云云", 30};

// Every option takes one value.
using Options = QHash<QString, QString>;

std::optional<Options> ParseOptions(const QStringList &args, const QStringList &allowed)
{
    Options options;
    for (int i = 0; i < args.size(); i += 2) {
        if (!allowed.contains(args[i]) || i + 1 == args.size() || options.contains(args[i]))
            return std::nullopt;
        options.insert(args[i], args[i + 1]);
    }
    return options;
}

std::optional<RandomSource> RandomSourceOf(const Options &options)
{
    if (!options.contains(QStringLiteral("--seed")))
        return SystemRandomSource();
    bool ok = false;
    const qulonglong seed = options.value(QStringLiteral("--seed")).toULongLong(&ok);
    return ok ? std::optional(SeededRandomSource(seed)) : std::nullopt;
}

// Line breaks and other control characters become spaces, as in the windows.
QString FieldText(const Options &options, const FieldRule &rule)
{
    const QString text = FoldControlCharacters(options.value(QLatin1String(rule.option)).left(rule.maxLength));
    return text.trimmed().isEmpty() ? QString::fromUtf16(rule.defaultText) : text;
}

QString HexagramLine(const HexagramView &view)
{
    return view.number + u' ' + view.name + u' ' + view.lines;
}

int Simulate(const Options &options, CliStreams io)
{
    bool ok = false;
    const int lineCount = options.value(QStringLiteral("--simulate")).toInt(&ok);
    const std::optional<RandomSource> random = RandomSourceOf(options);
    if (!ok || lineCount < 0 || lineCount > mostSimulatedLines || !random) {
        io.err << usage;
        return exitUsage;
    }
    const std::array<int, 4> counts = CountLineValues(lineCount, *random);
    for (int i = 0; i < 4; ++i)
        io.out << i + 6 << '\t' << counts[i] << '\n';
    return 0;
}

int CastOnce(const Options &options, CliStreams io)
{
    const std::optional<RandomSource> random = RandomSourceOf(options);
    if (!random) {
        io.err << usage;
        return exitUsage;
    }
    CastingEngine engine(QString::fromUtf16(nameRule.defaultText), *random, [] { return QDateTime::currentDateTime(); });
    std::optional<CastResolution> resolution;
    DivinationRecord record;
    QObject::connect(&engine, &CastingEngine::CastResolved, [&](const CastResult &, const ResolvedCast &resolved) {
        resolution = resolved.resolution;
        record = resolved.record;
    });
    engine.StartAutomatic(FieldText(options, nameRule), FieldText(options, matterRule));
    engine.RunPendingPhases();

    io.out << "values:";
    for (int value : engine.Cast().lineValues)
        io.out << ' ' << value;
    io.out << "\nprimary: " << HexagramLine(resolution->primary)
           << "\nresulting: " << (resolution->resultingShown ? HexagramLine(resolution->resulting) : QStringLiteral("-"))
           << "\nrule: " << resolution->ruleText << '\n';

    const QString recordPath = options.value(QStringLiteral("--record"));
    if (!recordPath.isEmpty() && !AppendRecord(recordPath, record)) {
        io.err << "无法写入记录文件: " << recordPath << '\n';
        return exitWriteFailed;
    }
    return 0;
}

} // namespace

int RunCastCommand(const QStringList &args, CliStreams io)
{
    const QString seed = QStringLiteral("--seed");
    const bool simulating = args.contains(QStringLiteral("--simulate"));
    const QStringList allowed = simulating
        ? QStringList{QStringLiteral("--simulate"), seed}
        : QStringList{seed, QLatin1String(nameRule.option), QLatin1String(matterRule.option), QStringLiteral("--record")};
    const std::optional<Options> options = ParseOptions(args, allowed);
    if (!options) {
        io.err << usage;
        return exitUsage;
    }
    return simulating ? Simulate(*options, io) : CastOnce(*options, io);
}
