#pragma once

#include "shell/help_file.h"
#include "shell/program_folder.h"

#include <QTextBrowser>
#include <QWidget>

class QPushButton;

// Shows the pages of a help file. Pages, the style sheet and pictures are all
// read from the file, through URLs such as "chm:/rules.htm", so the links of
// a page work as they do in any help viewer.
class HelpBrowser : public QTextBrowser {
    Q_OBJECT
public:
    explicit HelpBrowser(QWidget *parent = nullptr);

    void SetHelpFile(HelpFile file);
    const HelpFile &File() const { return file_; }

    // The URL of an entry path, with its "#anchor" if any.
    static QUrl UrlOf(const QString &entryPath);

    QVariant loadResource(int type, const QUrl &name) override;

protected:
    void doSetSource(const QUrl &url, QTextDocument::ResourceType type) override;

private:
    HelpFile file_;
};

// The help window. It belongs to the window that asked for help and closes
// with it; asking again while it is open shows the new topic in it.
class HelpViewer : public QWidget {
    Q_OBJECT
public:
    explicit HelpViewer(QWidget *owner);

    void ShowTopic(HelpFile file, const QString &entryPath);
    HelpBrowser *Browser() const { return browser_; }

protected:
    void keyReleaseEvent(QKeyEvent *event) override;

private:
    void ShowTitle();

    HelpBrowser *const browser_;
    QPushButton *const homeButton_;
    QPushButton *const backButton_;
    QPushButton *const forwardButton_;
    QPushButton *const closeButton_;
};

// Opens the help file at its default topic, or at the topic of a context
// number, in the help window of `owner`. A missing or damaged file, or a
// topic the file does not offer, opens nothing and reports nothing.
void OpenHelpDefault(QWidget *owner, const QString &helpFilePath = HelpFilePath());
void OpenHelpTopic(QWidget *owner, int contextNumber, const QString &helpFilePath = HelpFilePath());
