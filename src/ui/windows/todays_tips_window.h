#pragma once

#include "ui/windows/panel_dialog.h"

struct DateEvaluation;
struct Settings;

// The today's-tips window: names the festivals of the evaluated
// date, lunar ones first, and offers "以后不显示此窗口", which switches the
// automatic showing off (Settings.todayTips false). Its picture suits the
// day's festivals and its text breaks only between them. It opens at the
// screen's top-left corner; its button or a double-click on it closes it.
class TodaysTipsWindow : public PanelDialog {
    Q_OBJECT
public:
    TodaysTipsWindow(const DateEvaluation &evaluation, Settings &settings, QWidget *parent);
};
