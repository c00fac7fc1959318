// The yardstick of the start-up bench: the least a Qt Widgets program can do
// to put Chinese text on screen. One window with one label in the program's
// interface font, shown and painted once, then the program ends. Started by
// startup_bench with the monotonic time it was started at; reports phase 0
// on reaching main() and phase 1 at its first paint, as the bench's own
// child does.

#include "startup_timing.h"
#include "ui/art/fonts.h"

#include <QApplication>
#include <QLabel>

#include <cstdlib>

int main(int argc, char *argv[])
{
    if (argc != 2)
        return 2;
    const PhaseClock clock(std::atoll(argv[1]));
    clock.End(0);
    QApplication app(argc, argv);
    QApplication::setFont(SansFont(12));
    QLabel label(QStringLiteral("周易 程序装载中…"));
    const PaintWatch paint(label);
    label.show();
    paint.WaitUntilPainted();
    clock.End(1);
    std::fflush(stdout);
    return 0;
}
