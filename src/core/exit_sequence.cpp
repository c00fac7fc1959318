#include "core/exit_sequence.h"

namespace {

constexpr int ExitDelayMs = 500;

} // namespace

ExitSequence::ExitSequence(std::function<void()> writeSettings, std::function<void()> endProgram, QObject *parent)
    : QObject(parent)
    , writeSettings_(std::move(writeSettings))
    , endProgram_(std::move(endProgram))
{
    setObjectName(QStringLiteral("exit_sequence"));
    timer_.setParent(this);
    timer_.setObjectName(QStringLiteral("exit_timer"));
    timer_.setInterval(ExitDelayMs);
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, &ExitSequence::Finish);
}

void ExitSequence::Start()
{
    if (!timer_.isActive())
        timer_.start();
}

void ExitSequence::Finish()
{
    writeSettings_();
    endProgram_();
}
