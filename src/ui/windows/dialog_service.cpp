#include "ui/windows/dialog_service.h"

#include "ui/widgets/chinese_file_dialog.h"
#include "ui/widgets/field_limit_note.h"
#include "ui/widgets/opening_click_guard.h"
#include "ui/widgets/shaped_window.h"
#include "ui/widgets/window_placement.h"

#include <QFileInfo>
#include <QFontMetrics>
#include <QGridLayout>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QSpacerItem>

#include <algorithm>
#include <utility>

namespace {

QMessageBox::Icon MessageIcon(DialogService::Icon icon)
{
    switch (icon) {
    case DialogService::Icon::Warning:
        return QMessageBox::Warning;
    case DialogService::Icon::Question:
        return QMessageBox::Question;
    case DialogService::Icon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

// A short message makes a narrow box, and the window manager's buttons then
// leave its title bar room for only a few letters of the title: the box is
// kept wide enough for the whole title beside them.
void KeepTitleInView(QMessageBox &box)
{
    constexpr int ShortestBox = 280;
    constexpr int TitleBarButtons = 160;
    auto *layout = qobject_cast<QGridLayout *>(box.layout());
    if (!layout)
        return;
    const int width = std::max(ShortestBox, QFontMetrics(box.font()).horizontalAdvance(box.windowTitle()) + TitleBarButtons);
    layout->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Minimum), layout->rowCount(), 0, 1,
                    layout->columnCount());
}

// Qt puts a box over its owner with a guessed frame, which misses the centre
// on every window manager; the box goes on its owner's centre as the child
// windows do, once it has taken its size from its text as it is shown, and
// like them takes no click of the double-click that opened it.
template <typename Box>
class CentredBox final : public Box {
public:
    template <typename... Arguments>
    explicit CentredBox(Arguments &&...arguments)
        : Box(std::forward<Arguments>(arguments)...)
    {
        IgnoreTheOpeningDoubleClick(*this);
    }

protected:
    void showEvent(QShowEvent *event) override
    {
        Box::showEvent(event);
        if (const QWidget *owner = this->parentWidget())
            CentreOverOwner(*this, owner->window());
    }
};

} // namespace

QString ProgramTitle()
{
    return QStringLiteral("Ravezaz");
}

void WidgetDialogService::ShowMessage(QWidget *parent, const QString &text, const QString &title, Icon icon)
{
    CentredBox<QMessageBox> box(MessageIcon(icon), title, text, QMessageBox::Ok, parent);
    KeepTitleInView(box);
    box.exec();
}

bool WidgetDialogService::AskYesNo(QWidget *parent, const QString &text, const QString &title, bool yesIsDefault)
{
    CentredBox<QMessageBox> box(QMessageBox::Question, title, text, QMessageBox::Yes | QMessageBox::No, parent);
    box.setDefaultButton(yesIsDefault ? QMessageBox::Yes : QMessageBox::No);
    KeepTitleInView(box);
    return box.exec() == QMessageBox::Yes;
}

std::optional<QString> WidgetDialogService::AskText(QWidget *parent, const QString &prompt, const QString &title,
                                                    const QString &defaultText, int maxLength)
{
    CentredBox<QInputDialog> box(parent);
    box.setWindowTitle(title);
    box.setLabelText(prompt);
    box.setInputMode(QInputDialog::TextInput);
    if (auto *field = box.findChild<QLineEdit *>()) {
        field->setMaxLength(maxLength);
        ShowLimitWhenFull(field);
    }
    box.setTextValue(defaultText);
    if (box.exec() != QDialog::Accepted)
        return std::nullopt;
    return box.textValue();
}

void ShapeWindowOrWarn(QWidget &window, const QImage &picture, DialogService &dialogs)
{
    if (ShapeWindowFromPicture(window, picture) == ShapeStatus::UnsupportedDepth)
        dialogs.ShowMessage(&window, QStringLiteral("对不起，程序必须在 16位, 24-位 或 32-位 颜色下。"), ProgramTitle(),
                            DialogService::Icon::Warning);
}

std::optional<QString> WidgetDialogService::AskSaveFile(QWidget *parent, const QString &title,
                                                        const QString &proposedPath, const QString &nameFilter)
{
    const QFileInfo proposed(proposedPath);
    const std::unique_ptr<QFileDialog> dialog = MakeChineseFileDialog(parent, title, proposed.absolutePath());
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setFileMode(QFileDialog::AnyFile);
    dialog->setNameFilter(nameFilter);
    dialog->setDefaultSuffix(proposed.suffix());
    dialog->selectFile(proposed.fileName());
    if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty())
        return std::nullopt;
    return dialog->selectedFiles().constFirst();
}
