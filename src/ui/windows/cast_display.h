#pragma once

#include <QString>

#include <functional>

class EffectSound;
class MainWindow;
struct CastResolution;

// What a cast changes on the main window while it is hidden behind the
// casting window.
class CastDisplay {
public:
    virtual ~CastDisplay() = default;
    // A new cast begins: the banner and the idle pictures go, the resulting
    // hexagram's frame is hidden and the print command enabled.
    virtual void PrepareForNewCast() = 0;
    // The pictures of line 1..6 in both hexagrams, by line-picture code.
    virtual void ShowLinePictures(int line, const QString &primaryCode, const QString &resultingCode) = 0;
    // The resolved cast, shown as the cast view.
    virtual void ShowCast(const CastResolution &cast) = 0;
};

// The cast display on the main window, which keeps its own controls.
class MainWindowCastDisplay final : public CastDisplay {
public:
    explicit MainWindowCastDisplay(MainWindow &window);

    void PrepareForNewCast() override;
    void ShowLinePictures(int line, const QString &primaryCode, const QString &resultingCode) override;
    void ShowCast(const CastResolution &cast) override;

private:
    MainWindow &window_;
};

// Opens a numbered topic of the help file.
using HelpTopicOpener = std::function<void(int topic)>;

// A click on the rule label: the click sound, the help on the rules in
// general, then the topic of the rule the label shows, when it shows one.
void OpenRuleHelp(const QString &ruleLabel, EffectSound &effects, const QString &programFolder,
                  const HelpTopicOpener &openTopic);
