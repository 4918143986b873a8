#pragma once
// Panel, splitter and timer.
#include "ui/Control.h"
#include "ui/DefaultPixels.h"

class TPanel : public TControl {
public:
    using TControl::TControl;
    bool SetLayoutProperty(const LayoutProperty& property) override;

private:
    CreateParams CreationParams() const override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool raised_ = true;
};

// Drags the border between the control aligned before it and the rest.
class TSplitter : public TControl {
public:
    using TControl::TControl;
    bool SetLayoutProperty(const LayoutProperty& property) override;

private:
    CreateParams CreationParams() const override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    TControl* ResizedControl() const;
    int minSize_ = kDefaultSplitterMinSize;
    int dragStart_ = 0;
    int widthAtStart_ = 0;
    TControl* dragged_ = nullptr;
};

// Calls OnTimer once per interval on the thread that created it, from the
// moment it is created (when enabled) until it is destroyed.
class TTimer : public TComponent {
public:
    explicit TTimer(TComponent* owner);
    ~TTimer() override;

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    unsigned Interval() const { return interval_; }
    void SetInterval(unsigned milliseconds);

    bool SetLayoutProperty(const LayoutProperty& property) override;
    bool SetLayoutEvent(const String& event, TNotifyEvent handler) override;

private:
    static LRESULT CALLBACK TimerWindowProc(HWND, UINT, WPARAM, LPARAM);
    void Update();
    HWND window_ = nullptr;
    bool enabled_ = true;
    unsigned interval_ = 1000;
    TNotifyEvent onTimer_;
};
