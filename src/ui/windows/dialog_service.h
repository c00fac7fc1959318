#pragma once

#include <QString>

#include <optional>

class QImage;
class QWidget;

// Every message box and input box of the program goes through this service,
// so tests can answer them without a modal loop.
class DialogService {
public:
    enum class Icon { None, Warning, Question };

    virtual ~DialogService() = default;
    // An OK box.
    virtual void ShowMessage(QWidget *parent, const QString &text, const QString &title, Icon icon) = 0;
    // A Yes/No box with the question icon; true for Yes.
    virtual bool AskYesNo(QWidget *parent, const QString &text, const QString &title, bool yesIsDefault) = 0;
    // An input box whose answer keeps at most `maxLength` characters, with
    // a note when it is full; nothing when the user cancels.
    virtual std::optional<QString> AskText(QWidget *parent, const QString &prompt, const QString &title,
                                           const QString &defaultText, int maxLength) = 0;
    // A save-file dialog proposing `proposedPath`; the chosen path, nothing
    // when the user cancels.
    virtual std::optional<QString> AskSaveFile(QWidget *parent, const QString &title, const QString &proposedPath,
                                               const QString &nameFilter) = 0;
};

// The title of a box that has none of its own.
QString ProgramTitle();

// Cuts `window`'s outline from its background picture; on a screen whose
// colour depth the outline cannot be read at, the window stays rectangular
// and the colour-depth warning shows.
void ShapeWindowOrWarn(QWidget &window, const QImage &picture, DialogService &dialogs);

// The real boxes: QMessageBox and QInputDialog, whose standard buttons read
// 是/否/确定/取消 once Qt's Chinese translation is installed.
class WidgetDialogService final : public DialogService {
public:
    void ShowMessage(QWidget *parent, const QString &text, const QString &title, Icon icon) override;
    bool AskYesNo(QWidget *parent, const QString &text, const QString &title, bool yesIsDefault) override;
    std::optional<QString> AskText(QWidget *parent, const QString &prompt, const QString &title,
                                   const QString &defaultText, int maxLength) override;
    // Qt's own dialog in Chinese (MakeChineseFileDialog), whose file name
    // box holds the proposed name so that Enter accepts it.
    std::optional<QString> AskSaveFile(QWidget *parent, const QString &title, const QString &proposedPath,
                                       const QString &nameFilter) override;
};
