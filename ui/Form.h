#pragma once
// A top-level window built from its stored layout. The form class lists its
// published controls and handlers in a FormClass; building binds every
// layout name to one of them and fails on a name it does not know.
#include "ui/Control.h"
#include "ui/ProgramIcons.h"

#include <functional>
#include <optional>

enum TCloseAction { caNone, caHide, caFree, caMinimize };
using TCloseEvent = std::function<void(TObject* sender, TCloseAction& action)>;

constexpr int mrNone = 0;
constexpr int mrOk = 1;
constexpr int mrCancel = 2;

class TForm;

struct FormBinding {
    String name;
    std::function<bool(TForm& form, TComponent* component)> field; // false: wrong class
    std::function<TNotifyEvent(TForm& form)> notify;
    std::function<TCloseEvent(TForm& form)> close;
};

struct FormClass {
    String className;
    std::vector<FormBinding> bindings;

    const FormBinding* Find(const String& name) const;
};

// A published control: `TTreeView* T_TREEVIEW_SEARCH`.
template <class Form, class Control>
FormBinding Published(const char* name, Control* Form::*member)
{
    FormBinding binding{name, {}, {}, {}};
    binding.field = [member](TForm& form, TComponent* component) {
        auto* typed = dynamic_cast<Control*>(component);
        if (!typed)
            return false;
        static_cast<Form&>(form).*member = typed;
        return true;
    };
    return binding;
}

// A published handler taking the sender.
template <class Form>
FormBinding Published(const char* name, void (Form::*method)(TObject*))
{
    FormBinding binding{name, {}, {}, {}};
    binding.notify = [method](TForm& form) -> TNotifyEvent {
        auto* self = &static_cast<Form&>(form);
        return [self, method](TObject* sender) { (self->*method)(sender); };
    };
    return binding;
}

// A published close handler.
template <class Form>
FormBinding Published(const char* name, void (Form::*method)(TObject*, TCloseAction&))
{
    FormBinding binding{name, {}, {}, {}};
    binding.close = [method](TForm& form) -> TCloseEvent {
        auto* self = &static_cast<Form&>(form);
        return [self, method](TObject* sender, TCloseAction& action) { (self->*method)(sender, action); };
    };
    return binding;
}

class TForm : public TControl {
public:
    explicit TForm(TComponent* owner);
    ~TForm() override;

    void Show();
    void Hide();
    // Asks the OnClose handler; the main form's close ends the application.
    void Close();
    // Shows the form and runs a nested loop, with the application's other
    // windows disabled, until ModalResult is set (closing sets mrCancel).
    int ShowModal();
    int ModalResult = mrNone;

    static bool IsForm(HWND hwnd);

    // The density of the monitor the form is on, and the one its layout is
    // drawn at: lower where the layout is drawn smaller to fit the screen.
    int PixelsPerInch() const { return density_; }
    int LayoutPixelsPerInch() const { return layoutPixelsPerInch_; }

    bool SetLayoutProperty(const LayoutProperty& property) override;
    bool SetLayoutEvent(const String& event, TNotifyEvent handler) override;
    void SetCloseEvent(TCloseEvent handler) { onClose_ = std::move(handler); }

protected:
    // Creates the controls of the layout stored as an RCDATA resource, binds
    // them, creates the windows and finally runs OnCreate. Called last in
    // the derived constructor, so OnCreate sees a completely built form.
    void BuildFromLayout(const wchar_t* resourceName, const FormClass& formClass);
    void BuildFromLayoutText(std::string_view layout, const FormClass& formClass);
    // The same for a monitor of `density`, whichever the form opens on.
    void BuildFromLayoutText(std::string_view layout, const FormClass& formClass, int density);

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    CreateParams CreationParams() const override;
    void Build(const FormClass& formClass);
    // The stored layout's figures for the form's density and work area: at
    // the density, or all of them drawn smaller where the controls at fixed
    // places would not fit otherwise.
    LayoutObject LayoutForDensity();
    // Lays the built form out again for a monitor of `density`, in the place
    // the platform suggests.
    void ChangeDensity(int density, const TBounds& suggested);
    // The window's bounds as its layout gives them, frame included.
    TBounds OuterBounds() const;
    // Those bounds inside the work area of their monitor.
    TBounds NativeBounds() const override;
    TBounds FitToWorkArea(const TBounds& bounds) const;
    // Moves the window to `bounds`, then, for a window of the layout's size
    // whose real frame is not the one foreseen, gives its client area the
    // layout's size.
    void Place(const TBounds& bounds, bool layoutSized);
    // The outer bounds the form's own figures in `layout` give at `pixelsPerInch`.
    TBounds DesignedBounds(const LayoutObject& layout, int pixelsPerInch) const;
    // Enter and Esc, as the dialog manager reports them.
    bool ClickDialogButton(WORD command);

    TNotifyEvent onCreate_;
    TCloseEvent onClose_;
    DWORD Style() const;
    DWORD ExStyle() const;

    int clientWidth_ = -1;
    int clientHeight_ = -1;
    bool dialogBorder_ = false;
    bool screenCentre_ = false;
    bool modal_ = false;
    bool aligned_ = false;
    TBounds workArea_{};
    // The layout as stored, at 96 pixels per inch, and as last applied.
    LayoutObject layout_;
    LayoutObject applied_;
    int density_ = 96;
    // The density of the applied figures: lower than the monitor's where the
    // layout is drawn smaller to fit.
    int layoutPixelsPerInch_ = 96;
    // The size the form last gave its window, to tell a size of the user's,
    // and whether the user has given it one since it was built.
    TBounds laidOut_{};
    bool sizedByUser_ = false;
    // The icons of the density, held while the window shows them.
    std::optional<TProgramIcons> icons_;
};
