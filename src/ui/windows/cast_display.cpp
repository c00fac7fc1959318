#include "ui/windows/cast_display.h"

#include "core/changing_line_rules.h"
#include "ui/windows/main_window.h"
#include "ui/widgets/picture_label.h"
#include "shell/sound_effect.h"

#include <array>

namespace {

// The main window's controls that give way to a new cast.
constexpr std::array<const char16_t *, 6> ControlsHiddenForCast{
    u"Label27_0", u"Label27_1", u"Image14", u"Image15", u"Image16", u"Frame2",
};

// Line k of the primary hexagram is Image k in Frame1, of the resulting one
// Image 6 + k in Frame2.
struct HexagramPictures {
    const char16_t *frame;
    int firstImage;
};
constexpr HexagramPictures PrimaryPictures{u"Frame1", 1};
constexpr HexagramPictures ResultingPictures{u"Frame2", 7};

// Controls are looked up among the main window's own children: the casting
// window, a child window of it while it runs, has controls of the same names.
template <typename Control>
Control *OwnControl(const QWidget &window, const QString &name)
{
    return window.findChild<Control *>(name, Qt::FindDirectChildrenOnly);
}

} // namespace

MainWindowCastDisplay::MainWindowCastDisplay(MainWindow &window)
    : window_(window)
{
}

void MainWindowCastDisplay::PrepareForNewCast()
{
    for (const char16_t *name : ControlsHiddenForCast) {
        if (auto *control = OwnControl<QWidget>(window_, QString::fromUtf16(name)))
            control->hide();
    }
    if (auto *print = OwnControl<QWidget>(window_, QStringLiteral("Command5")))
        print->setEnabled(true);
}

void MainWindowCastDisplay::ShowLinePictures(int line, const QString &primaryCode, const QString &resultingCode)
{
    SetLinePicture(PrimaryPictures.frame, PrimaryPictures.firstImage + line - 1, primaryCode);
    SetLinePicture(ResultingPictures.frame, ResultingPictures.firstImage + line - 1, resultingCode);
}

void MainWindowCastDisplay::ShowCast(const CastResolution &cast)
{
    window_.ShowCastView(cast);
}

// The four line pictures are kept on the main window as Picture0, Picture00,
// Picture1 and Picture11.
void MainWindowCastDisplay::SetLinePicture(const char16_t *frameName, int imageNumber, const QString &code)
{
    const auto *frame = OwnControl<QWidget>(window_, QString::fromUtf16(frameName));
    const auto *source = OwnControl<PictureLabel>(window_, QStringLiteral("Picture") + code);
    if (!frame || !source)
        return;
    if (auto *image = frame->findChild<PictureLabel *>(QStringLiteral("Image%1").arg(imageNumber)))
        image->SetPicture(source->Picture());
}

void OpenRuleHelp(const QString &ruleLabel, EffectSound &effects, const QString &programFolder,
                  const HelpTopicOpener &openTopic)
{
    effects.PlayEffect(programFolder + QStringLiteral("/wav/s1.wav"));
    openTopic(ChangingLineRulesHelpTopic);
    if (const std::optional<int> topic = ChangingLineRuleHelpTopic(ruleLabel))
        openTopic(*topic);
}
