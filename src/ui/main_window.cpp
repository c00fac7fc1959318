#include "main_window.h"

MainWindow::MainWindow(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("form2"));
    setWindowTitle(QStringLiteral("Ravezaz之文王卦"));
    resize(642, 464);
}
