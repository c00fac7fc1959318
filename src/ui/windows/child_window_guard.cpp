#include "ui/windows/child_window_guard.h"

#include "ui/widgets/picture_label.h"

namespace {

constexpr int ReleaseDelayMs = 1000;
enum StoreIndex { MinimiseEnabled, MinimiseDisabled, CloseEnabled, CloseDisabled };

} // namespace

ChildWindowGuard::ChildWindowGuard(PictureLabel *minimise, PictureLabel *close,
                                   const std::array<PictureLabel *, 4> &store, QObject *parent)
    : QObject(parent)
    , minimise_(minimise)
    , close_(close)
    , store_(store)
{
    releaseTimer_.setObjectName(QStringLiteral("window_buttons_release_timer"));
    releaseTimer_.setParent(this);
    releaseTimer_.setInterval(ReleaseDelayMs);
    releaseTimer_.setSingleShot(true);
    connect(&releaseTimer_, &QTimer::timeout, this, [this] { SetPicturesEnabled(true); });
}

void ChildWindowGuard::Begin()
{
    releaseTimer_.stop();
    SetPicturesEnabled(false);
}

void ChildWindowGuard::EndSoon()
{
    releaseTimer_.start();
}

void ChildWindowGuard::SetPicturesEnabled(bool enabled)
{
    minimise_->setEnabled(enabled);
    close_->setEnabled(enabled);
    minimise_->SetPicture(store_[enabled ? MinimiseEnabled : MinimiseDisabled]->Picture());
    close_->SetPicture(store_[enabled ? CloseEnabled : CloseDisabled]->Picture());
}
