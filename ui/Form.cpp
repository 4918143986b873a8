#include "ui/Form.h"

#include "platform/Density.h"
#include "platform/UniqueHandle.h"
#include "ui/Application.h"
#include "ui/FormBuilder.h"
#include "ui/LayoutScale.h"
#include "ui/Resources.h"
#include "ui/ScreenFit.h"
#include "ui/StdCtrls.h"

namespace {

const wchar_t kFormClass[] = L"TamsaekForm";

TBounds BoundsOf(const RECT& rect)
{
    return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

// The work area (the monitor less its taskbar) of the monitor a window with
// these bounds opens on: most of it, or the nearest. A centred form, not
// placed yet, lies about the origin: it opens on the primary monitor.
HMONITOR MonitorAt(const TBounds& bounds)
{
    const RECT rect{bounds.left, bounds.top, bounds.left + bounds.width, bounds.top + bounds.height};
    return ::MonitorFromRect(&rect, MONITOR_DEFAULTTONEAREST);
}

TBounds WorkAreaAt(const TBounds& bounds)
{
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (::GetMonitorInfoW(MonitorAt(bounds), &info))
        return BoundsOf(info.rcWork);
    RECT work{};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    return BoundsOf(work);
}

// A layout drawn smaller than the density's keeps the corner the density
// gives it: as much of its designed place as it can.
void KeepDesignedCorner(LayoutObject& scaled, const LayoutObject& designed, int density)
{
    for (LayoutProperty& property : scaled.properties)
        if (property.name == "Left" || property.name == "Top")
            for (const LayoutProperty& original : designed.properties)
                if (original.name == property.name && original.value.kind == LayoutValue::Kind::Integer)
                    property.value.integer = ScalePixels(original.value.integer, density);
}

TBounds WindowBounds(HWND window)
{
    RECT rect{};
    ::GetWindowRect(window, &rect);
    return BoundsOf(rect);
}

BOOL CALLBACK CollectEnabledWindow(HWND hwnd, LPARAM context)
{
    auto* windows = reinterpret_cast<std::vector<HWND>*>(context);
    if (::IsWindowVisible(hwnd) && ::IsWindowEnabled(hwnd))
        windows->push_back(hwnd);
    return TRUE;
}

} // namespace

const FormBinding* FormClass::Find(const String& name) const
{
    for (const FormBinding& binding : bindings)
        if (binding.name == name)
            return &binding;
    return nullptr;
}

TForm::TForm(TComponent* owner) : TControl(owner) {}

TForm::~TForm()
{
    // The controls go while the form's window still exists, the window
    // while its icons do.
    DestroyComponents();
    DestroyHandle();
}

bool TForm::IsForm(HWND hwnd)
{
    return dynamic_cast<TForm*>(FromHandle(hwnd)) != nullptr;
}

void TForm::BuildFromLayout(const wchar_t* resourceName, const FormClass& formClass)
{
    BuildFromLayoutText(LoadTextResource(resourceName), formClass);
}

void TForm::BuildFromLayoutText(std::string_view layout, const FormClass& formClass)
{
    layout_ = ParseLayout(layout);
    // A window not made yet would be told the primary monitor's density:
    // the monitor it is to open on is asked instead.
    density_ = platform::SystemPixelsPerInch();
    density_ = platform::MonitorPixelsPerInch(MonitorAt(DesignedBounds(layout_, density_)));
    Build(formClass);
}

void TForm::BuildFromLayoutText(std::string_view layout, const FormClass& formClass, int density)
{
    layout_ = ParseLayout(layout);
    density_ = density > 0 ? density : platform::SystemPixelsPerInch();
    Build(formClass);
}

void TForm::Build(const FormClass& formClass)
{
    aligned_ = HasAlignedControls(layout_);
    workArea_ = WorkAreaAt(DesignedBounds(layout_, density_));
    applied_ = LayoutForDensity();
    LayoutObject placed = applied_;
    KeepDesignedCorner(placed, layout_, density_);
    BuildForm(*this, placed, formClass);
    icons_.emplace(density_);
    icons_->ApplyTo(Handle());
    Place(WindowBounds(Handle()), true);
    if (onCreate_)
        onCreate_(this);
}

LayoutObject TForm::LayoutForDensity()
{
    layoutPixelsPerInch_ = density_;
    // Controls at fixed places cannot share a smaller window: the whole
    // layout is drawn smaller instead, so that every one of them can be seen.
    if (!aligned_)
        layoutPixelsPerInch_ =
            FittingPixelsPerInch(density_, LowestReadablePixelsPerInch(layout_, density_), [&](int candidate) {
                const TBounds outer = DesignedBounds(layout_, candidate);
                return outer.width <= workArea_.width && outer.height <= workArea_.height;
            });
    LayoutObject scaled = layout_;
    ScaleLayout(scaled, layoutPixelsPerInch_);
    return scaled;
}

void TForm::ChangeDensity(int density, const TBounds& suggested)
{
    if (density <= 0 || !Handle())
        return;
    const int from = layoutPixelsPerInch_;
    const TBounds before = WindowBounds(Handle());
    // A size the user gave the window is kept, as the platform scaled it;
    // one the layout gave is the layout's at the new density, exactly.
    sizedByUser_ = sizedByUser_ || before.width != laidOut_.width || before.height != laidOut_.height;
    density_ = density;
    workArea_ = WorkAreaAt(suggested);
    LayoutObject next = LayoutForDensity();
    ReapplyPixels(*this, applied_, next, from, layoutPixelsPerInch_);
    applied_ = std::move(next);
    // The new icons are shown before the old ones go.
    TProgramIcons icons(density_);
    icons.ApplyTo(Handle());
    icons_ = std::move(icons);
    if (::IsZoomed(Handle()) || ::IsIconic(Handle())) {
        ::SetWindowPos(Handle(), nullptr, suggested.left, suggested.top, suggested.width, suggested.height,
                       SWP_NOZORDER | SWP_NOACTIVATE);
        RealignControls();
        return;
    }
    TBounds target = suggested;
    const bool layoutSized = !sizedByUser_ || !aligned_;
    if (layoutSized) {
        const TBounds designed = OuterBounds();
        target.width = designed.width;
        target.height = designed.height;
    }
    Place(FitToWorkArea(target), layoutSized);
    RealignControls();
    ::RedrawWindow(Handle(), nullptr, nullptr, RDW_ERASE | RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN);
}

TBounds TForm::DesignedBounds(const LayoutObject& layout, int pixelsPerInch) const
{
    // The form's own figures alone, read as building would read them.
    LayoutObject frame;
    frame.className = layout.className;
    frame.properties = layout.properties;
    ScaleLayout(frame, pixelsPerInch);
    TForm probe(nullptr);
    probe.workArea_ = workArea_;
    probe.density_ = density_;
    for (const LayoutProperty& property : frame.properties)
        if (property.name.rfind("On", 0) != 0)
            probe.SetLayoutProperty(property);
    return probe.OuterBounds();
}

TControl::CreateParams TForm::CreationParams() const
{
    CreateParams params;
    params.className = FrameworkWindowClass(kFormClass);
    params.style = Style();
    params.exStyle = ExStyle();
    params.ownClass = true;
    // Secondary forms stay above the main form, as dialogs do.
    if (TForm* main = Application->MainForm(); main && main != this)
        params.owner = main->Handle();
    return params;
}

DWORD TForm::Style() const
{
    // A dialog border: fixed size, a caption with a close box only.
    return (dialogBorder_ ? WS_POPUP | WS_CAPTION | WS_SYSMENU : WS_OVERLAPPEDWINDOW) | WS_CLIPCHILDREN;
}

DWORD TForm::ExStyle() const
{
    return WS_EX_CONTROLPARENT | (dialogBorder_ ? WS_EX_DLGMODALFRAME : 0);
}

TBounds TForm::OuterBounds() const
{
    TBounds bounds = Bounds();
    if (clientWidth_ >= 0 || clientHeight_ >= 0) {
        const RECT client{0, 0, clientWidth_ >= 0 ? clientWidth_ : 0, clientHeight_ >= 0 ? clientHeight_ : 0};
        const RECT rect = platform::OuterRect(client, Style(), ExStyle(), density_);
        if (clientWidth_ >= 0)
            bounds.width = rect.right - rect.left;
        if (clientHeight_ >= 0)
            bounds.height = rect.bottom - rect.top;
    }
    if (screenCentre_) {
        bounds.left = workArea_.left + (workArea_.width - bounds.width) / 2;
        bounds.top = workArea_.top + (workArea_.height - bounds.height) / 2;
    }
    return bounds;
}

TBounds TForm::NativeBounds() const
{
    return FitToWorkArea(OuterBounds());
}

TBounds TForm::FitToWorkArea(const TBounds& bounds) const
{
    if (aligned_)
        return CutToFit(bounds, workArea_);
    // Drawn as small as its text allows and still too large: where its
    // caption and first controls are sure to be seen.
    if (bounds.width > workArea_.width || bounds.height > workArea_.height)
        return {workArea_.left, workArea_.top, bounds.width, bounds.height};
    return KeepInside(bounds, workArea_);
}

void TForm::Place(const TBounds& bounds, bool layoutSized)
{
    constexpr UINT kFlags = SWP_NOZORDER | SWP_NOACTIVATE;
    const TBounds now = WindowBounds(Handle());
    if (!(now == bounds))
        ::SetWindowPos(Handle(), nullptr, bounds.left, bounds.top, bounds.width, bounds.height, kFlags);
    laidOut_ = WindowBounds(Handle());
    if (!layoutSized || (clientWidth_ < 0 && clientHeight_ < 0))
        return;
    // The frame the platform really drew, which is not always the one it
    // foretold for the density (Wine keeps the system's after a change).
    RECT client{};
    ::GetClientRect(Handle(), &client);
    TBounds wanted = laidOut_;
    if (clientWidth_ >= 0)
        wanted.width += clientWidth_ - client.right;
    if (clientHeight_ >= 0)
        wanted.height += clientHeight_ - client.bottom;
    wanted = FitToWorkArea(wanted);
    if (wanted == laidOut_)
        return;
    ::SetWindowPos(Handle(), nullptr, wanted.left, wanted.top, wanted.width, wanted.height, kFlags);
    laidOut_ = WindowBounds(Handle());
}

bool TForm::SetLayoutProperty(const LayoutProperty& property)
{
    const String& name = property.name;
    if (name == "ClientWidth")
        clientWidth_ = static_cast<int>(LayoutInteger(property));
    else if (name == "ClientHeight")
        clientHeight_ = static_cast<int>(LayoutInteger(property));
    else if (name == "BorderStyle") {
        const String& style = LayoutIdentifier(property);
        if (style != "bsDialog" && style != "bsSizeable")
            throw LayoutError(property.line, "unknown border style " + style);
        dialogBorder_ = style == "bsDialog";
    } else if (name == "Position") {
        const String& position = LayoutIdentifier(property);
        if (position != "poScreenCenter" && position != "poDesigned")
            throw LayoutError(property.line, "unknown position " + position);
        screenCentre_ = position == "poScreenCenter";
    } else if (name == "PixelsPerInch" || name == "TextHeight")
        LayoutInteger(property); // the layout's pixels are those of 96 dpi
    else if (name == "OldCreateOrder") {
        if (LayoutBoolean(property))
            throw LayoutError(property.line, "OnCreate always runs once construction is complete");
    } else
        return TControl::SetLayoutProperty(property);
    return true;
}

bool TForm::SetLayoutEvent(const String& event, TNotifyEvent handler)
{
    if (event != "OnCreate")
        return false;
    onCreate_ = std::move(handler);
    return true;
}

void TForm::Show()
{
    ::ShowWindow(Handle(), SW_SHOWNORMAL);
    ::UpdateWindow(Handle());
}

void TForm::Hide()
{
    ::ShowWindow(Handle(), SW_HIDE);
}

void TForm::Close()
{
    TCloseAction action = caHide;
    if (modal_)
        ModalResult = mrCancel;
    if (onClose_)
        onClose_(this, action);
    if (action == caNone) {
        if (modal_)
            ModalResult = mrNone;
        return;
    }
    if (Application->MainForm() == this) {
        Hide();
        Application->Terminate();
        return;
    }
    if (modal_)
        return; // the modal loop ends and hides the form
    if (action == caMinimize)
        ::ShowWindow(Handle(), SW_MINIMIZE);
    else
        Hide();
}

int TForm::ShowModal()
{
    std::vector<HWND> disabled;
    ::EnumThreadWindows(::GetCurrentThreadId(), CollectEnabledWindow, reinterpret_cast<LPARAM>(&disabled));
    for (HWND hwnd : disabled)
        if (hwnd != Handle())
            ::EnableWindow(hwnd, FALSE);
    ModalResult = mrNone;
    modal_ = true;
    Show();
    ::SetForegroundWindow(Handle());
    while (ModalResult == mrNone && !Application->Terminated() && ::IsWindow(Handle())) {
        if (!PumpMessage())
            break;
    }
    // Re-enable first so that activation returns to the main form.
    for (HWND hwnd : disabled)
        if (hwnd != Handle() && ::IsWindow(hwnd))
            ::EnableWindow(hwnd, TRUE);
    modal_ = false;
    if (Handle())
        Hide();
    return ModalResult;
}

bool TForm::ClickDialogButton(WORD command)
{
    if (command != IDOK && command != IDCANCEL)
        return false;
    for (std::size_t i = 0; i < ComponentCount(); ++i) {
        auto* button = dynamic_cast<TButton*>(Component(i));
        if (button && (command == IDOK ? button->IsDefault() : button->IsCancel())) {
            if (button->Enabled() && ::IsWindowVisible(button->Handle()))
                button->Click();
            return true;
        }
    }
    return false;
}

LRESULT TForm::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CLOSE) {
        Close();
        return 0;
    }
    // The dialog manager sends Enter and Esc as IDOK and IDCANCEL from no
    // control: our buttons have no control identifiers.
    if (message == WM_COMMAND && lParam == 0 && HIWORD(wParam) == BN_CLICKED && ClickDialogButton(LOWORD(wParam)))
        return 0;
    // Moved to a monitor of another density: the suggested rectangle is the
    // window's own, scaled by the platform.
    if (message == WM_DPICHANGED && lParam) {
        ChangeDensity(LOWORD(wParam), BoundsOf(*reinterpret_cast<const RECT*>(lParam)));
        return 0;
    }
    return TControl::WindowProc(message, wParam, lParam);
}
