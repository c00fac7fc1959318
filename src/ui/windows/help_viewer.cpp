#include "ui/windows/help_viewer.h"

#include "ui/widgets/escape_key.h"
#include "ui/widgets/keyboard_command.h"
#include "ui/widgets/opening_click_guard.h"
#include "ui/widgets/window_placement.h"

#include <QHBoxLayout>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>
#include <QPushButton>
#include <QStringDecoder>
#include <QVBoxLayout>

namespace {

const QString ChmScheme = QStringLiteral("chm");

QString DecodePage(const QByteArray &bytes)
{
    // A page names its encoding in its meta tag; without one it is UTF-8.
    QStringDecoder decoder = QStringDecoder::decoderForHtml(bytes);
    if (!decoder.isValid())
        decoder = QStringDecoder(QStringDecoder::Utf8);
    return decoder.decode(bytes);
}

constexpr QSize PreferredSize(860, 640);
constexpr QSize MinimumSize(480, 360);

// The preferred size, or less on a screen too small for it.
QSize OpeningSize(const QWidget *owner)
{
    const QScreen *screen = owner ? owner->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return PreferredSize;
    const QSize room = screen->availableGeometry().size() * 9 / 10;
    return PreferredSize.boundedTo(room).expandedTo(MinimumSize);
}

// Shows `entryPath` in the help window of `owner`, made on first use.
void ShowInViewer(QWidget *owner, HelpFile file, const QString &entryPath)
{
    if (entryPath.isEmpty())
        return;
    HelpViewer *viewer = owner ? owner->findChild<HelpViewer *>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
    if (!viewer)
        viewer = new HelpViewer(owner);
    viewer->ShowTopic(std::move(file), entryPath);
}

} // namespace

HelpBrowser::HelpBrowser(QWidget *parent)
    : QTextBrowser(parent)
{
    setObjectName(QStringLiteral("help_browser"));
}

void HelpBrowser::SetHelpFile(HelpFile file)
{
    file_ = std::move(file);
}

QUrl HelpBrowser::UrlOf(const QString &entryPath)
{
    return QUrl(ChmScheme + u':' + entryPath);
}

QVariant HelpBrowser::loadResource(int type, const QUrl &name)
{
    const QUrl url = name.isRelative() ? source().resolved(name) : name;
    if (url.scheme() != ChmScheme)
        return {};
    const QByteArray bytes = file_.Entry(url.path());
    if (bytes.isEmpty())
        return {};
    switch (type) {
    case QTextDocument::HtmlResource:
        return DecodePage(bytes);
    case QTextDocument::StyleSheetResource:
        return QString::fromUtf8(bytes);
    default:
        return bytes;
    }
}

void HelpBrowser::doSetSource(const QUrl &url, QTextDocument::ResourceType type)
{
    // A link to a page the file does not hold, or out of the file, leaves
    // the page shown.
    if (url.scheme() == ChmScheme && file_.Contains(url.path()))
        QTextBrowser::doSetSource(url, type);
}

HelpViewer::HelpViewer(QWidget *owner)
    : QWidget(owner, Qt::Window),
      browser_(new HelpBrowser(this)),
      homeButton_(new QPushButton(QStringLiteral("帮助首页"), this)),
      backButton_(new QPushButton(QStringLiteral("← 后退"), this)),
      forwardButton_(new QPushButton(QStringLiteral("前进 →"), this)),
      closeButton_(new QPushButton(QStringLiteral("关闭 F12"), this))
{
    setObjectName(QStringLiteral("help_viewer"));
    setAttribute(Qt::WA_DeleteOnClose);
    setMinimumSize(MinimumSize);
    resize(OpeningSize(owner));

    homeButton_->setObjectName(QStringLiteral("home_button"));
    backButton_->setObjectName(QStringLiteral("back_button"));
    forwardButton_->setObjectName(QStringLiteral("forward_button"));
    closeButton_->setObjectName(QStringLiteral("close_button"));
    backButton_->setEnabled(false);
    forwardButton_->setEnabled(false);
    browser_->setAccessibleName(QStringLiteral("帮助主题"));
    closeButton_->setAccessibleName(QStringLiteral("关闭"));
    closeButton_->setAccessibleDescription(QStringLiteral("F12"));
    for (QPushButton *button : {homeButton_, backButton_, forwardButton_, closeButton_})
        ClickOnEnter(button);
    CloseOnEscape(*this, [this] { close(); });
    IgnoreTheOpeningDoubleClick(*this);
    // Tab in reading order: the commands above the page, then the page.
    setTabOrder(homeButton_, backButton_);
    setTabOrder(backButton_, forwardButton_);
    setTabOrder(forwardButton_, closeButton_);
    setTabOrder(closeButton_, browser_);

    auto *commands = new QHBoxLayout;
    commands->addWidget(homeButton_);
    commands->addWidget(backButton_);
    commands->addWidget(forwardButton_);
    commands->addStretch();
    commands->addWidget(closeButton_);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addLayout(commands);
    layout->addWidget(browser_);

    connect(homeButton_, &QPushButton::clicked, this,
            [this] { browser_->setSource(HelpBrowser::UrlOf(browser_->File().DefaultTopic())); });
    connect(backButton_, &QPushButton::clicked, browser_, &QTextBrowser::backward);
    connect(forwardButton_, &QPushButton::clicked, browser_, &QTextBrowser::forward);
    connect(closeButton_, &QPushButton::clicked, this, &QWidget::close);
    connect(browser_, &QTextBrowser::backwardAvailable, backButton_, &QWidget::setEnabled);
    connect(browser_, &QTextBrowser::forwardAvailable, forwardButton_, &QWidget::setEnabled);
    connect(browser_, &QTextBrowser::sourceChanged, this, &HelpViewer::ShowTitle);
}

void HelpViewer::ShowTopic(HelpFile file, const QString &entryPath)
{
    browser_->SetHelpFile(std::move(file));
    browser_->setSource(HelpBrowser::UrlOf(entryPath));
    ShowTitle();
    // A second topic keeps the place and size the user gave the window.
    if (!isVisible())
        CentreOverOwner(*this, parentWidget());
    show();
    raise();
    activateWindow();
}

void HelpViewer::keyReleaseEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_F12) {
        close();
        return;
    }
    QWidget::keyReleaseEvent(event);
}

void HelpViewer::ShowTitle()
{
    const QString title = browser_->documentTitle();
    setWindowTitle(title.isEmpty() ? QStringLiteral("Ravezaz 帮助") : QStringLiteral("Ravezaz 帮助 - ") + title);
}

void OpenHelpDefault(QWidget *owner, const QString &helpFilePath)
{
    HelpFile file = HelpFile::Read(helpFilePath);
    const QString topic = file.DefaultTopic();
    ShowInViewer(owner, std::move(file), topic);
}

void OpenHelpTopic(QWidget *owner, int contextNumber, const QString &helpFilePath)
{
    HelpFile file = HelpFile::Read(helpFilePath);
    const QString topic = file.Topic(contextNumber);
    ShowInViewer(owner, std::move(file), topic);
}
