#pragma once

// Fakes and a main window for the tests of the manual-entry and record
// browser windows, which both show a cast on the main window.

#include "shell/settings.h"
#include "support/fake_dialogs.h"
#include "support/fake_sound.h"
#include "support/require_child.h"
#include "ui/widgets/picture_label.h"
#include "ui/windows/cast_display.h"
#include "ui/windows/main_window.h"
#include "ui/windows/panel_dialog.h"

#include <QFile>
#include <QGroupBox>
#include <QLabel>

#include <memory>

inline const QString TestProgramFolder = QStringLiteral("/program");

inline QString ProgramSound(const char *relativePath)
{
    return TestProgramFolder + QString::fromLatin1(relativePath);
}

// A main window over fakes and its cast display.
struct MainWindowUnderTest {
    FakeDialogs dialogs;
    FakeEffects effects;
    Settings settings;
    std::unique_ptr<MainWindow> window;
    std::unique_ptr<MainWindowCastDisplay> display;

    MainWindowUnderTest()
    {
        MainWindowServices services;
        services.dialogs = &dialogs;
        services.effects = &effects;
        services.openHelp = [](QWidget *) {};
        services.openWebPage = [] {};
        services.now = [] { return QDateTime(QDate(2024, 3, 5), QTime(9, 8, 7)); };
        services.random = [] { return 0.0; };
        services.programFolder = TestProgramFolder;
        window = std::make_unique<MainWindow>(services, settings);
        display = std::make_unique<MainWindowCastDisplay>(*window);
    }

    template <typename Control = QWidget>
    Control *Find(const QString &name) const
    {
        return RequireChild<Control>(*window, name);
    }

    QString Text(const char *name) const { return Find<QLabel>(QString::fromLatin1(name))->text(); }
    bool Shown(const char *name) const
    {
        const QWidget *control = Find(QString::fromLatin1(name));
        return control->isVisibleTo(window.get());
    }

    // The line picture codes shown in the "primary" or "resulting" frame,
    // line 1 first: the code of the stored picture each line picture equals,
    // or "?" for none of them.
    QStringList LineCodes(const char *side) const
    {
        QStringList codes;
        for (int line = 1; line <= 6; ++line) {
            const QString lineName = QStringLiteral("%1_line_%2_picture").arg(QString::fromLatin1(side)).arg(line);
            const QImage shown = Find<PictureLabel>(lineName)->Picture().toImage();
            QString code = QStringLiteral("?");
            for (const auto &[store, name] : {std::pair{"0", "yin_line_store"}, std::pair{"00", "changing_yin_line_store"},
                                              std::pair{"1", "yang_line_store"}, std::pair{"11", "changing_yang_line_store"}}) {
                if (Find<PictureLabel>(QString::fromLatin1(name))->Picture().toImage() == shown)
                    code = QString::fromLatin1(store);
            }
            codes << code;
        }
        return codes;
    }
};

inline QByteArray FileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline bool WriteFileBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// The names of the controls of a framed window that stick out of its
// parchment panel onto the frame or the title band.
inline QStringList ControlsOutsidePanel(const PanelDialog &window)
{
    QStringList outside;
    for (const QWidget *control : window.findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly)) {
        const QString name = control->objectName();
        if (name != QStringLiteral("panelPicture") && name != QStringLiteral("caption") &&
            control->isVisibleTo(&window) && !window.PanelArea().contains(control->geometry()))
            outside << name;
    }
    return outside;
}
