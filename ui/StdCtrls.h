#pragma once
// Label, edit, button, list box and memo over the platform's own controls.
#include "ui/Control.h"

class TLabel : public TControl {
public:
    using TControl::TControl;
    bool SetLayoutProperty(const LayoutProperty& property) override;

private:
    CreateParams CreationParams() const override;
    void HandleCreated() override;
    void PixelsChanged(int from, int to) override;
    // A label that sizes itself grows to its text in the font it really
    // got, which may be wider than the one the layout was drawn with.
    void GrowToCaption();
    bool autoSize_ = true;
    DWORD alignment_ = SS_LEFT;
    bool centreVertically_ = false;
    bool pathEllipsis_ = false;
};

class TEdit : public TControl {
public:
    using TControl::TControl;
    bool SetLayoutProperty(const LayoutProperty& property) override;
    // Widens the edit to the right until its whole text shows in its font,
    // as a label grows to its caption; never narrows it.
    void GrowToText();

private:
    CreateParams CreationParams() const override;
    void HandleCreated() override;
    void PixelsChanged(int from, int to) override;
    bool grownToText_ = false;
};

class TButton : public TControl {
public:
    using TControl::TControl;
    // Does what a click on the button does.
    void Click();
    bool SetLayoutProperty(const LayoutProperty& property) override;
    bool SetLayoutEvent(const String& event, TNotifyEvent handler) override;

    // Enter in its form clicks the default button, Esc the cancel button.
    bool IsDefault() const { return default_; }
    bool IsCancel() const { return cancel_; }
    bool Enabled() const;
    void SetEnabled(bool enabled);

private:
    CreateParams CreationParams() const override;
    void HandleCommand(WORD code) override;
    TNotifyEvent onClick_;
    bool default_ = false;
    bool cancel_ = false;
};

// The items of a list box, kept by the native control.
class TListBoxItems {
public:
    explicit TListBoxItems(TControl& owner) : owner_(owner) {}
    void Add(const String& item);
    void Clear();
    int Count() const;
    String operator[](int index) const;

private:
    TControl& owner_;
};

class TListBox : public TControl {
public:
    explicit TListBox(TComponent* owner) : TControl(owner), Items(*this) {}
    TListBoxItems Items;
    // Index of the selected item, -1 when none is.
    int ItemIndex() const;
    void SetItemIndex(int index);
    bool SetLayoutProperty(const LayoutProperty& property) override;
    bool SetLayoutEvent(const String& event, TNotifyEvent handler) override;

private:
    CreateParams CreationParams() const override;
    void HandleCreated() override;
    void PixelsChanged(int from, int to) override;
    void HandleCommand(WORD code) override;
    int itemHeight_ = 0;
    TNotifyEvent onClick_;
};

// The lines of a memo, kept by the native control.
class TMemoLines {
public:
    explicit TMemoLines(TControl& owner) : owner_(owner) {}
    void Add(const String& line);
    void Clear();
    int Count() const;
    String operator[](int index) const;

private:
    TControl& owner_;
};

class TMemo : public TControl {
public:
    explicit TMemo(TComponent* owner) : TControl(owner), Lines(*this) {}
    TMemoLines Lines;
    bool SetLayoutProperty(const LayoutProperty& property) override;

private:
    CreateParams CreationParams() const override;
    void HandleCreated() override;
};
