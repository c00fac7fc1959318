#include "ui/widgets/field_limit_note.h"

#include <QEvent>
#include <QLabel>
#include <QLineEdit>

namespace {

constexpr int NoteGap = 4;
// Room left for the field's border at its right end.
constexpr int FrameWidth = 3;
constexpr double NoteScale = 0.8;

// Lives as a child of its field, drawn inside the field's right end; the
// field's text margin keeps the text clear of it while it shows.
class FieldLimitNote final : public QLabel {
public:
    explicit FieldLimitNote(QLineEdit *field)
        : QLabel(field)
        , field_(field)
    {
        setObjectName(QStringLiteral("limit_note"));
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAlignment(Qt::AlignCenter);
        FollowFieldFont();
        setStyleSheet(QStringLiteral("QLabel { color: #a02a1a; background: transparent; border: none; }"));
        hide();
        field->installEventFilter(this);
        connect(field, &QLineEdit::textChanged, this, &FieldLimitNote::Update);
        Update();
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched != field_)
            return false;
        if (event->type() == QEvent::FontChange)
            FollowFieldFont();
        if (event->type() == QEvent::Resize || event->type() == QEvent::FontChange)
            Place();
        return false;
    }

private:
    // The field's own description, if it has one, comes back with the
    // shorter text.
    void Update()
    {
        const bool full = field_->text().size() >= field_->maxLength();
        if (full == shown_)
            return;
        shown_ = full;
        if (full) {
            ownDescription_ = field_->accessibleDescription();
            setText(QStringLiteral("最多%1个字").arg(field_->maxLength()));
            field_->setAccessibleDescription(text());
        } else {
            field_->setAccessibleDescription(ownDescription_);
            KeepTextClear(0);
        }
        setVisible(full);
        Place();
    }

    // A size smaller than the field's text, so the note reads as a remark.
    void FollowFieldFont()
    {
        QFont small = field_->font();
        if (small.pointSizeF() > 0)
            small.setPointSizeF(small.pointSizeF() * NoteScale);
        else
            small.setPixelSize(int(small.pixelSize() * NoteScale));
        setFont(small);
    }

    void Place()
    {
        if (!shown_)
            return;
        const int width = fontMetrics().horizontalAdvance(text()) + NoteGap;
        setGeometry(field_->width() - width - FrameWidth, 0, width, field_->height());
        KeepTextClear(width);
    }

    void KeepTextClear(int noteWidth)
    {
        QMargins margins = field_->textMargins();
        margins.setRight(noteWidth);
        field_->setTextMargins(margins);
    }

    QLineEdit *field_;
    bool shown_ = false;
    QString ownDescription_;
};

} // namespace

void ShowLimitWhenFull(QLineEdit *field)
{
    new FieldLimitNote(field);
}
