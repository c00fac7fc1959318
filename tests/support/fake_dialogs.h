#pragma once

#include "ui/windows/dialog_service.h"

#include <QStringList>

#include <deque>
#include <optional>
#include <vector>

// Keeps every box it is shown and answers from queues: Yes/No questions
// with No, input boxes and save dialogs with Cancel once their queue is empty.
class FakeDialogs final : public DialogService {
public:
    enum class Kind { Message, YesNo, Text, SaveFile };

    struct Box {
        Kind kind;
        QString text;
        QString title;
        Icon icon;
        QString defaultText;
        bool yesIsDefault = false;
        // The most characters an input box's answer keeps.
        int maxLength = 0;
    };

    void ShowMessage(QWidget *, const QString &text, const QString &title, Icon icon) override
    {
        boxes.push_back({Kind::Message, text, title, icon, {}});
    }
    bool AskYesNo(QWidget *, const QString &text, const QString &title, bool yesIsDefault) override
    {
        boxes.push_back({Kind::YesNo, text, title, Icon::Question, {}, yesIsDefault});
        if (yesNoAnswers.empty())
            return false;
        const bool answer = yesNoAnswers.front();
        yesNoAnswers.pop_front();
        return answer;
    }
    std::optional<QString> AskText(QWidget *, const QString &prompt, const QString &title,
                                   const QString &defaultText, int maxLength) override
    {
        boxes.push_back({Kind::Text, prompt, title, Icon::None, defaultText, false, maxLength});
        if (textAnswers.empty())
            return std::nullopt;
        std::optional<QString> answer;
        answer.swap(textAnswers.front());
        textAnswers.pop_front();
        return answer;
    }

    // A save dialog is kept with its title, and its proposed path as the
    // default text.
    std::optional<QString> AskSaveFile(QWidget *, const QString &title, const QString &proposedPath,
                                       const QString &nameFilter) override
    {
        boxes.push_back({Kind::SaveFile, nameFilter, title, Icon::None, proposedPath});
        if (fileAnswers.empty())
            return std::nullopt;
        std::optional<QString> answer;
        answer.swap(fileAnswers.front());
        fileAnswers.pop_front();
        return answer;
    }

    // The texts of every box shown, in order.
    QStringList Texts() const
    {
        QStringList texts;
        for (const Box &box : boxes)
            texts << box.text;
        return texts;
    }

    // The boxes of one kind, in order.
    std::vector<Box> Shown(Kind kind) const
    {
        std::vector<Box> shown;
        for (const Box &box : boxes) {
            if (box.kind == kind)
                shown.push_back(box);
        }
        return shown;
    }

    std::vector<Box> boxes;
    std::deque<bool> yesNoAnswers;
    std::deque<std::optional<QString>> textAnswers;
    // Answers to save dialogs; Cancel once empty.
    std::deque<std::optional<QString>> fileAnswers;
};
