#include "ui/windows/dialog_service.h"

#include <QInputDialog>
#include <QMessageBox>

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

} // namespace

QString ProgramTitle()
{
    return QStringLiteral("Ravezaz");
}

void WidgetDialogService::ShowMessage(QWidget *parent, const QString &text, const QString &title, Icon icon)
{
    QMessageBox box(MessageIcon(icon), title, text, QMessageBox::Ok, parent);
    box.exec();
}

bool WidgetDialogService::AskYesNo(QWidget *parent, const QString &text, const QString &title, bool yesIsDefault)
{
    QMessageBox box(QMessageBox::Question, title, text, QMessageBox::Yes | QMessageBox::No, parent);
    box.setDefaultButton(yesIsDefault ? QMessageBox::Yes : QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

std::optional<QString> WidgetDialogService::AskText(QWidget *parent, const QString &prompt, const QString &title,
                                                    const QString &defaultText)
{
    bool accepted = false;
    const QString text = QInputDialog::getText(parent, title, prompt, QLineEdit::Normal, defaultText, &accepted);
    if (!accepted)
        return std::nullopt;
    return text;
}
