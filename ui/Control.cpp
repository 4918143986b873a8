#include "ui/Control.h"

#include "base/Exception.h"
#include "base/WideText.h"
#include "platform/PlatformError.h"
#include "ui/ErrorReport.h"

#include <commctrl.h>

#include <algorithm>
#include <map>

namespace {

// The property tells any window whether it is one of ours; the user data
// finds the object on every message without asking for the property, which
// under Wine is a round trip to the server. For the same reason the
// platform's own controls are subclassed by their window procedure, not
// with SetWindowSubclass, which looks its chain up as a property.
const wchar_t kControlProperty[] = L"tamsaek.control";

TControl* AttachedControl(HWND hwnd)
{
    return reinterpret_cast<TControl*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

TAlign ParseAlign(const LayoutProperty& property)
{
    static const std::map<String, TAlign> kNames = {{"alNone", TAlign::None},     {"alTop", TAlign::Top},
                                                    {"alBottom", TAlign::Bottom}, {"alLeft", TAlign::Left},
                                                    {"alRight", TAlign::Right},   {"alClient", TAlign::Client}};
    const auto found = kNames.find(LayoutIdentifier(property));
    if (found == kNames.end())
        throw LayoutError(property.line, "unknown alignment " + property.value.text);
    return found->second;
}

int ParseCharset(const LayoutProperty& property)
{
    if (property.value.kind == LayoutValue::Kind::Integer)
        return static_cast<int>(LayoutInteger(property));
    const String& name = LayoutIdentifier(property);
    if (name == "DEFAULT_CHARSET")
        return DEFAULT_CHARSET;
    if (name == "ANSI_CHARSET")
        return ANSI_CHARSET;
    if (name == "HANGEUL_CHARSET")
        return HANGEUL_CHARSET;
    throw LayoutError(property.line, "unknown character set " + name);
}

// "Default" meant the system's character set where the layouts were made:
// Korean, the code page of the program's own texts. Asked for by name, it
// lets the font mapper pick a face that has Hangul where the named face
// (Wine's own "MS Sans Serif", for one) has none.
BYTE CreationCharset(int charset)
{
    return static_cast<BYTE>(charset == DEFAULT_CHARSET ? HANGEUL_CHARSET : charset);
}

} // namespace

LRESULT CALLBACK FrameworkWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* control = static_cast<TControl*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        if (control)
            control->Attach(hwnd);
    }
    TControl* control = AttachedControl(hwnd);
    if (!control)
        return ::DefWindowProcW(hwnd, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        control->Detach();
        return ::DefWindowProcW(hwnd, message, wParam, lParam);
    }
    return control->Dispatch(message, wParam, lParam);
}

const wchar_t* FrameworkWindowClass(const wchar_t* name, HCURSOR cursor)
{
    static std::map<std::wstring, bool> registered;
    if (!registered[name]) {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = FrameworkWindowProc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.hCursor = cursor ? cursor : ::LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.hIcon = ::LoadIconW(wc.hInstance, L"MAINICON");
        wc.lpszClassName = name;
        if (!::RegisterClassExW(&wc)) {
            const DWORD error = ::GetLastError();
            if (error != ERROR_CLASS_ALREADY_EXISTS)
                throw PlatformError("the window class " + Narrow(name) + " cannot be registered", error);
        }
        registered[name] = true;
    }
    return name;
}

TControl::TControl(TComponent* owner) : TComponent(owner) {}

TControl::~TControl()
{
    for (TControl* child : controls_)
        child->parent_ = nullptr;
    if (parent_) {
        auto& siblings = parent_->controls_;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
    }
    DestroyHandle();
}

void TControl::DestroyHandle()
{
    if (HWND hwnd = hwnd_) {
        Detach();
        ::DestroyWindow(hwnd);
    }
}

TControl* TControl::FromHandle(HWND hwnd)
{
    return hwnd ? static_cast<TControl*>(::GetPropW(hwnd, kControlProperty)) : nullptr;
}

void TControl::Attach(HWND hwnd)
{
    hwnd_ = hwnd;
    ::SetPropW(hwnd, kControlProperty, this);
    ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

void TControl::Detach()
{
    if (!hwnd_)
        return;
    if (originalProc_ &&
        ::GetWindowLongPtrW(hwnd_, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&TControl::SubclassProc))
        ::SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(originalProc_));
    ::SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    ::RemovePropW(hwnd_, kControlProperty);
    hwnd_ = nullptr;
}

TControl* TControl::ChildFromHandle(HWND hwnd) const
{
    for (TControl* child : controls_)
        if (child->hwnd_ == hwnd)
            return child;
    return nullptr;
}

LRESULT CALLBACK TControl::SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    TControl* control = AttachedControl(hwnd);
    if (!control)
        return ::DefWindowProcW(hwnd, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        const WNDPROC original = control->originalProc_;
        control->Detach();
        return ::CallWindowProcW(original, hwnd, message, wParam, lParam);
    }
    return control->Dispatch(message, wParam, lParam);
}

LRESULT TControl::Dispatch(UINT message, WPARAM wParam, LPARAM lParam)
{
    // Exceptions must not unwind through the platform's frames: report
    // them here, as the message loop does for every handler.
    try {
        return WindowProc(message, wParam, lParam);
    } catch (...) {
        ReportCurrentException();
    }
    return 0;
}

LRESULT TControl::DefaultProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    return ownClass_ ? ::DefWindowProcW(hwnd_, message, wParam, lParam)
                     : ::CallWindowProcW(originalProc_, hwnd_, message, wParam, lParam);
}

LRESULT TControl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND:
        if (TControl* child = ChildFromHandle(reinterpret_cast<HWND>(lParam))) {
            child->HandleCommand(HIWORD(wParam));
            return 0;
        }
        break;
    case WM_NOTIFY: {
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        if (TControl* child = ChildFromHandle(header->hwndFrom))
            if (std::optional<LRESULT> result = child->HandleNotify(*header))
                return *result;
        break;
    }
    case WM_SIZE:
        if (!controls_.empty())
            AlignControls();
        break;
    default:
        break;
    }
    return DefaultProc(message, wParam, lParam);
}

void TControl::SetParent(TControl* parent)
{
    if (hwnd_)
        throw Exception("the parent of " + Name() + " cannot change once its window exists");
    if (parent_) {
        auto& siblings = parent_->controls_;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
    }
    parent_ = parent;
    if (parent_)
        parent_->controls_.push_back(this);
}

TBounds TControl::NativeBounds() const
{
    return bounds_;
}

void TControl::SetBounds(const TBounds& bounds)
{
    bounds_ = bounds;
    if (hwnd_ && parent_)
        ::MoveWindow(hwnd_, bounds.left, bounds.top, bounds.width, bounds.height, TRUE);
}

String TControl::Text() const
{
    if (!hwnd_)
        return text_;
    const int length = ::GetWindowTextLengthW(hwnd_);
    std::wstring buffer(static_cast<std::size_t>(length) + 1, L'\0');
    const int copied = ::GetWindowTextW(hwnd_, buffer.data(), length + 1);
    buffer.resize(static_cast<std::size_t>(std::max(copied, 0)));
    return Narrow(buffer);
}

void TControl::SetText(const String& text)
{
    text_ = text;
    if (hwnd_)
        ::SetWindowTextW(hwnd_, Widen(text).c_str());
}

const TFontChoice& TControl::Font() const
{
    static const TFontChoice kDefault;
    if (font_)
        return *font_;
    return parent_ ? parent_->Font() : kDefault;
}

HFONT TControl::FontHandle() const
{
    if (fontHandle_)
        return fontHandle_.Get();
    if (parent_)
        return parent_->FontHandle();
    return static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
}

void TControl::SetFontChoice(const TFontChoice& choice)
{
    font_ = choice;
    if (hwnd_) {
        fontHandle_.Reset(::CreateFontW(choice.height, 0, 0, 0, choice.bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                                        CreationCharset(choice.charset), OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                        DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, Widen(choice.name).c_str()));
        ::SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(FontHandle()), FALSE);
    }
}

void TControl::CreateHandle()
{
    if (hwnd_)
        return;
    const CreateParams params = CreationParams();
    ownClass_ = params.ownClass;
    DWORD style = params.style;
    HWND parentWindow = params.owner;
    if (parent_) {
        parentWindow = parent_->Handle();
        style |= WS_CHILD | WS_CLIPSIBLINGS;
        if (visible_)
            style |= WS_VISIBLE;
    }
    const TBounds b = NativeBounds();
    HWND hwnd =
        ::CreateWindowExW(params.exStyle, params.className, Widen(text_).c_str(), style, b.left, b.top, b.width,
                          b.height, parentWindow, nullptr, ::GetModuleHandleW(nullptr), ownClass_ ? this : nullptr);
    if (!hwnd)
        throw LastPlatformError("the window of " + Name() + " cannot be created");
    if (!ownClass_) {
        Attach(hwnd);
        originalProc_ = reinterpret_cast<WNDPROC>(
            ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TControl::SubclassProc)));
    }
    if (font_)
        SetFontChoice(*font_);
    else
        ::SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(FontHandle()), FALSE);
    HandleCreated();
    for (TControl* child : controls_)
        child->CreateHandle();
    if (!controls_.empty())
        AlignControls();
}

void TControl::AlignControls()
{
    if (!hwnd_)
        return;
    RECT client;
    ::GetClientRect(hwnd_, &client);
    RECT rest = client;
    auto place = [](TControl* child, int left, int top, int width, int height) {
        child->SetBounds({left, top, std::max(width, 0), std::max(height, 0)});
    };
    // Sides first, the client control last, each side in the order of
    // position so that two left-aligned controls keep their sequence.
    for (TAlign side : {TAlign::Top, TAlign::Bottom, TAlign::Left, TAlign::Right, TAlign::Client}) {
        std::vector<TControl*> aligned;
        for (TControl* child : controls_)
            if (child->align_ == side)
                aligned.push_back(child);
        std::stable_sort(aligned.begin(), aligned.end(), [side](TControl* a, TControl* b) {
            switch (side) {
            case TAlign::Top:
                return a->bounds_.top < b->bounds_.top;
            case TAlign::Bottom:
                return a->bounds_.top > b->bounds_.top;
            case TAlign::Left:
                return a->bounds_.left < b->bounds_.left;
            case TAlign::Right:
                return a->bounds_.left > b->bounds_.left;
            default:
                return false;
            }
        });
        for (TControl* child : aligned) {
            const int w = child->bounds_.width;
            const int h = child->bounds_.height;
            switch (side) {
            case TAlign::Top:
                place(child, rest.left, rest.top, rest.right - rest.left, h);
                rest.top = std::min(rest.top + h, rest.bottom);
                break;
            case TAlign::Bottom:
                place(child, rest.left, rest.bottom - h, rest.right - rest.left, h);
                rest.bottom = std::max(rest.bottom - h, rest.top);
                break;
            case TAlign::Left:
                place(child, rest.left, rest.top, w, rest.bottom - rest.top);
                rest.left = std::min(rest.left + w, rest.right);
                break;
            case TAlign::Right:
                place(child, rest.right - w, rest.top, w, rest.bottom - rest.top);
                rest.right = std::max(rest.right - w, rest.left);
                break;
            default:
                place(child, rest.left, rest.top, rest.right - rest.left, rest.bottom - rest.top);
                break;
            }
        }
    }
}

void TControl::RealignControls()
{
    if (controls_.empty())
        return;
    AlignControls();
    for (TControl* child : controls_)
        child->RealignControls();
}

void TControl::RefreshPixels(int from, int to, std::vector<platform::Font>& retired)
{
    if (hwnd_) {
        if (font_) {
            retired.push_back(std::move(fontHandle_));
            SetFontChoice(*font_);
        } else {
            ::SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(FontHandle()), FALSE);
        }
        if (parent_)
            SetBounds(bounds_);
        PixelsChanged(from, to);
    }
    for (TControl* child : controls_)
        child->RefreshPixels(from, to, retired);
}

void TControl::ApplyTabOrder()
{
    std::vector<TControl*> ordered = controls_;
    std::stable_sort(ordered.begin(), ordered.end(), [](TControl* a, TControl* b) {
        // Controls without a tab order (labels) keep their place after the others.
        const unsigned ka = static_cast<unsigned>(a->tabOrder_);
        const unsigned kb = static_cast<unsigned>(b->tabOrder_);
        return ka < kb;
    });
    HWND previous = HWND_TOP;
    for (TControl* child : ordered) {
        if (!child->hwnd_)
            continue;
        ::SetWindowPos(child->hwnd_, previous, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        previous = child->hwnd_;
        child->ApplyTabOrder();
    }
}

bool TControl::SetLayoutProperty(const LayoutProperty& property)
{
    const String& name = property.name;
    if (name == "Left")
        bounds_.left = static_cast<int>(LayoutInteger(property));
    else if (name == "Top")
        bounds_.top = static_cast<int>(LayoutInteger(property));
    else if (name == "Width")
        bounds_.width = static_cast<int>(LayoutInteger(property));
    else if (name == "Height")
        bounds_.height = static_cast<int>(LayoutInteger(property));
    else if (name == "Align")
        align_ = ParseAlign(property);
    else if (name == "TabOrder")
        tabOrder_ = static_cast<int>(LayoutInteger(property));
    else if (name == "Visible")
        visible_ = LayoutBoolean(property);
    else if (name == "Caption" || name == "Text")
        text_ = LayoutText(property);
    else if (name == "ParentFont") {
        if (!LayoutBoolean(property))
            font_ = Font();
    } else if (name == "Font.Name") {
        font_ = Font();
        font_->name = LayoutText(property);
    } else if (name == "Font.Height") {
        font_ = Font();
        font_->height = static_cast<int>(LayoutInteger(property));
    } else if (name == "Font.Charset") {
        font_ = Font();
        font_->charset = ParseCharset(property);
    } else if (name == "Font.Style") {
        font_ = Font();
        font_->bold =
            property.value.kind == LayoutValue::Kind::Set &&
            std::find(property.value.set.begin(), property.value.set.end(), "fsBold") != property.value.set.end();
    } else if (name == "Font.Color" || name == "Color") {
        // Only the system colours are used; the platform draws them by default.
        LayoutIdentifier(property);
    } else
        return false;
    return true;
}
