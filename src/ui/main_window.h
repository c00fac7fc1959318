#pragma once

#include <QWidget>

// The program's main window, form2.
class MainWindow : public QWidget {
    Q_OBJECT
public:
    explicit MainWindow(QWidget *parent = nullptr);
};
