#include "main_window.h"
#include "single_instance.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    // A second copy ends here, before it opens a window or touches a file.
    QCoreApplication::setApplicationName(QStringLiteral("Ravezaz"));
    const SingleInstance instance(InstanceLockPath());
    if (!instance.isFirst())
        return 0;

    QApplication app(argc, argv);
    MainWindow window;
    window.show();
    return app.exec();
}
