#include "ui/windows/trigram_reference.h"

#include "core/program_sounds.h"
#include "shell/sound_effect.h"
#include "texts/trigrams.h"
#include "ui/art/fonts.h"
#include "ui/art/trigram_art.h"
#include "ui/widgets/button_looks.h"
#include "ui/widgets/keyboard_command.h"
#include "ui/widgets/key_release_watch.h"
#include "ui/widgets/picture_button.h"
#include "ui/widgets/picture_label.h"
#include "ui/widgets/twips.h"
#include "ui/windows/child_window_guard.h"
#include "ui/windows/main_window.h"
#include "ui/windows/translation_viewer.h"

#include <QKeyEvent>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>

namespace {

// The window's parts in twips, on the parchment inside the frame. The
// arrangement picture starts at the parchment's left edge.
constexpr QSize ContentSize(TwipsToPixels(8400 + 240), TwipsToPixels(4950));
constexpr QPoint PicturePlace = TwipsPoint(0, 120);
constexpr QRect LinkBox = TwipsRect(4440, 240, 3975, 330);
constexpr QRect AttributeBox = TwipsRect(4440, 600, 3975, 3495);
constexpr QPoint CloseButtonPlace = TwipsPoint(3840, 4400);
// The blank line between two trigrams, in pixels: a full line would push the
// last trigrams out of the box.
constexpr int TrigramGap = 5;

const QColor LinkHoverColour(0, 0, 255);
const QColor LinkRestColour(255, 0, 0);

// The text keeps its blank line between two trigrams, drawn low, so all
// eight trigrams show at once.
void NarrowBlankLines(QTextEdit &box)
{
    QTextCursor cursor(box.document());
    for (QTextBlock block = box.document()->begin(); block.isValid(); block = block.next()) {
        if (!block.text().isEmpty())
            continue;
        QTextBlockFormat format = block.blockFormat();
        format.setLineHeight(TrigramGap, QTextBlockFormat::FixedHeight);
        cursor.setPosition(block.position());
        cursor.setBlockFormat(format);
    }
}

bool IsEventOfKey(const QEvent *event, int key)
{
    const auto *keyEvent = static_cast<const QKeyEvent *>(event);
    return keyEvent->key() == key;
}

} // namespace

TrigramReference::TrigramReference(const ReferenceWindowServices &services, GuardEnd endGuard, QWidget *parent)
    : PanelDialog(QStringLiteral("trigram_reference_window"), SizeAroundPanel(ContentSize), parent)
    , services_(services)
    , endGuard_(std::move(endGuard))
{
    setWindowTitle(QStringLiteral("八卦卦象参考"));

    BuildPictures();
    BuildAttributeText();
    BuildCloseButton();
    MoveControlsIntoPanel();
    WatchEvents();
    PlaySound(QStringLiteral("/wav/s2.wav"));
}

void TrigramReference::BuildPictures()
{
    struct PictureRow {
        PictureLabel *&label;
        const char *name;
        const char16_t *caption;
        const TrigramArrangement &arrangement;
        bool shown;
    };
    const std::array<PictureRow, 2> rows{{
        {earlierHeaven_, "earlier_heaven_picture", u"先天八卦图", EarlierHeavenArrangement(), true},
        {laterHeaven_, "later_heaven_picture", u"后天八卦图", LaterHeavenArrangement(), false},
    }};
    for (const PictureRow &row : rows) {
        row.label = new PictureLabel(QString::fromLatin1(row.name), this);
        row.label->setAccessibleName(QString::fromUtf16(row.caption));
        row.label->setAccessibleDescription(QStringLiteral("空格键换图"));
        row.label->SetPicture(QPixmap::fromImage(TrigramArrangementPicture(row.arrangement)));
        row.label->move(PicturePlace);
        row.label->setVisible(row.shown);
        connect(row.label, &PictureLabel::Clicked, this, [this, label = row.label] { ShowOtherPicture(label); });
    }
}

void TrigramReference::BuildAttributeText()
{
    link_ = new ClickableLabel(QStringLiteral("discussion_of_trigrams_link"), this);
    link_->setText(QStringLiteral("卦的属性(详细可参考《说卦传》)"));
    link_->setToolTip(QStringLiteral("点击查看《说卦传》"));
    link_->setFont(SerifFont(14, QFont::DemiBold));
    link_->setGeometry(LinkBox);
    link_->setCursor(Qt::PointingHandCursor);
    SetLinkColour(LinkRestColour);
    connect(link_, &ClickableLabel::Clicked, this,
            [this] { services_.openHelpTopic(this, ShuoGuaHelpTopic); });
    MakeKeyboardCommand(link_, CommandRole::Link, link_->text(), link_->toolTip());

    attributes_ = new QTextEdit(this);
    attributes_->setObjectName(QStringLiteral("trigram_attributes_text"));
    attributes_->setReadOnly(true);
    attributes_->setAccessibleName(QStringLiteral("卦的属性"));
    attributes_->setFont(SerifFont(15));
    attributes_->setPlainText(TrigramAttributeText());
    NarrowBlankLines(*attributes_);
    attributes_->setGeometry(AttributeBox);
    attributes_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    attributes_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    attributes_->setStyleSheet(QStringLiteral("QTextEdit { background: #fffdf6; color: #2a1c14;"
                                              " border: 1px solid #b89a6a; }"));
}

void TrigramReference::BuildCloseButton()
{
    closeButton_ = new PictureButton(QStringLiteral("close_button"), ButtonLooksOf(CloseWindowButtonPicture()), this);
    closeButton_->move(CloseButtonPlace);
    closeButton_->setToolTip(QStringLiteral("关闭窗口"));
    closeButton_->setAccessibleName(closeButton_->toolTip());
    closeButton_->setAccessibleDescription(QStringLiteral("F12"));
    closeButton_->raise();
    connect(closeButton_, &QAbstractButton::clicked, this, &QDialog::accept);
}

// Keys are watched on every control, so Space and F12 act whichever has the
// focus; the link colour follows the mouse over the window's parts.
void TrigramReference::WatchEvents()
{
    setMouseTracking(true);
    WatchKeysOnWindowAndChildren(*this, *this);
}

bool TrigramReference::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
        // Space belongs to the pictures: no control may take it as a click.
        return IsEventOfKey(event, Qt::Key_Space);
    case QEvent::KeyRelease: {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Space) {
            if (!key->isAutoRepeat())
                SwapByKey();
            return true;
        }
        if (key->key() == Qt::Key_F12 && !key->isAutoRepeat()) {
            if (closeButton_->isVisibleTo(this) && closeButton_->isEnabled())
                accept();
            return true;
        }
        break;
    }
    case QEvent::Enter:
    case QEvent::MouseMove:
        if (watched == link_)
            SetLinkColour(LinkHoverColour);
        else if (watched == this || watched == Background() || watched == attributes_->viewport()
                 || watched == earlierHeaven_ || watched == laterHeaven_)
            SetLinkColour(LinkRestColour);
        break;
    default:
        break;
    }
    return PanelDialog::eventFilter(watched, event);
}

void TrigramReference::ShowOtherPicture(PictureLabel *shown)
{
    shown->hide();
    (shown == earlierHeaven_ ? laterHeaven_ : earlierHeaven_)->show();
    PlaySound(ClickSound);
}

void TrigramReference::SwapByKey()
{
    ShowOtherPicture(earlierHeaven_->isVisibleTo(this) && earlierHeaven_->isEnabled() ? earlierHeaven_ : laterHeaven_);
}

void TrigramReference::SetLinkColour(const QColor &colour)
{
    QPalette palette = link_->palette();
    palette.setColor(QPalette::WindowText, colour);
    link_->setPalette(palette);
}

void TrigramReference::PlaySound(const QString &relativePath)
{
    services_.effects->PlayEffect(services_.programFolder + relativePath);
}

void TrigramReference::done(int result)
{
    endGuard_();
    PanelDialog::done(result);
}

void ConnectTrigramCommand(MainWindow &window, const ReferenceWindowServices &services)
{
    QObject::connect(&window, &MainWindow::TrigramsRequested, &window, [&window, services] {
        window.Guard().Begin();
        TrigramReference reference(services, [&window] { window.Guard().EndSoon(); }, &window);
        reference.exec();
    });
}
