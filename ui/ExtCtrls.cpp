#include "ui/ExtCtrls.h"

#include "base/Exception.h"
#include "platform/PlatformError.h"
#include "ui/ErrorReport.h"

#include <windowsx.h>

#include <algorithm>

bool TPanel::SetLayoutProperty(const LayoutProperty& property)
{
    if (property.name == "AutoSize") {
        // The layouts give the panel the height its contents need.
        LayoutBoolean(property);
        return true;
    }
    if (property.name == "BevelOuter") {
        raised_ = LayoutIdentifier(property) != "bvNone";
        return true;
    }
    return TControl::SetLayoutProperty(property);
}

TControl::CreateParams TPanel::CreationParams() const
{
    return {FrameworkWindowClass(L"TamsaekPanel"), WS_CLIPCHILDREN, WS_EX_CONTROLPARENT, true, nullptr};
}

LRESULT TPanel::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_PAINT) {
        PAINTSTRUCT paint;
        HDC dc = ::BeginPaint(Handle(), &paint);
        RECT client;
        ::GetClientRect(Handle(), &client);
        if (raised_)
            ::DrawEdge(dc, &client, BDR_RAISEDINNER, BF_RECT);
        ::EndPaint(Handle(), &paint);
        return 0;
    }
    return TControl::WindowProc(message, wParam, lParam);
}

bool TSplitter::SetLayoutProperty(const LayoutProperty& property)
{
    if (property.name == "Cursor") {
        if (LayoutIdentifier(property) != "crHSplit")
            throw LayoutError(property.line, "a splitter uses crHSplit");
        return true;
    }
    if (property.name == "MinSize") {
        minSize_ = static_cast<int>(LayoutInteger(property));
        return true;
    }
    return TControl::SetLayoutProperty(property);
}

TControl::CreateParams TSplitter::CreationParams() const
{
    return {FrameworkWindowClass(L"TamsaekSplitter", ::LoadCursorW(nullptr, IDC_SIZEWE)), 0, 0, true, nullptr};
}

TControl* TSplitter::ResizedControl() const
{
    // The left-aligned neighbour whose right edge touches the splitter.
    if (!Parent())
        return nullptr;
    for (TControl* sibling : Parent()->Controls())
        if (sibling != this && sibling->Align() == TAlign::Left &&
            sibling->Bounds().left + sibling->Bounds().width == Bounds().left)
            return sibling;
    return nullptr;
}

LRESULT TSplitter::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_LBUTTONDOWN:
        dragged_ = ResizedControl();
        if (dragged_) {
            POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            ::MapWindowPoints(Handle(), Parent()->Handle(), &at, 1);
            dragStart_ = static_cast<int>(at.x);
            widthAtStart_ = dragged_->Bounds().width;
            ::SetCapture(Handle());
        }
        return 0;
    case WM_MOUSEMOVE:
        if (dragged_ && ::GetCapture() == Handle()) {
            POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            ::MapWindowPoints(Handle(), Parent()->Handle(), &at, 1);
            RECT client;
            ::GetClientRect(Parent()->Handle(), &client);
            // Both sides keep at least the minimum size.
            const int maxWidth = std::max(minSize_, static_cast<int>(client.right) - dragged_->Bounds().left -
                                                        Bounds().width - minSize_);
            TBounds bounds = dragged_->Bounds();
            bounds.width = std::clamp(widthAtStart_ + static_cast<int>(at.x) - dragStart_, minSize_, maxWidth);
            dragged_->SetBounds(bounds);
            Parent()->AlignControls();
        }
        return 0;
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
        if (dragged_) {
            dragged_ = nullptr;
            if (message == WM_LBUTTONUP)
                ::ReleaseCapture();
        }
        return 0;
    default:
        return TControl::WindowProc(message, wParam, lParam);
    }
}

namespace {

const wchar_t kTimerClass[] = L"TamsaekTimer";
constexpr UINT_PTR kTimerId = 1;

} // namespace

TTimer::TTimer(TComponent* owner) : TComponent(owner)
{
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = TimerWindowProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = kTimerClass;
    ::RegisterClassExW(&wc); // fails harmlessly once registered
    window_ = ::CreateWindowExW(0, kTimerClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
    if (!window_)
        throw LastPlatformError("the timer's window cannot be created");
    ::SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    Update();
}

TTimer::~TTimer()
{
    ::KillTimer(window_, kTimerId);
    ::SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    ::DestroyWindow(window_);
}

void TTimer::SetEnabled(bool enabled)
{
    enabled_ = enabled;
    Update();
}

void TTimer::SetInterval(unsigned milliseconds)
{
    interval_ = milliseconds;
    Update();
}

void TTimer::Update()
{
    ::KillTimer(window_, kTimerId);
    if (enabled_ && interval_ > 0 && onTimer_)
        ::SetTimer(window_, kTimerId, interval_, nullptr);
}

bool TTimer::SetLayoutProperty(const LayoutProperty& property)
{
    if (property.name == "Interval")
        SetInterval(static_cast<unsigned>(std::max<std::int64_t>(0, LayoutInteger(property))));
    else if (property.name == "Enabled")
        SetEnabled(LayoutBoolean(property));
    else
        return false;
    return true;
}

bool TTimer::SetLayoutEvent(const String& event, TNotifyEvent handler)
{
    if (event != "OnTimer")
        return false;
    onTimer_ = std::move(handler);
    Update();
    return true;
}

LRESULT CALLBACK TTimer::TimerWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_TIMER) {
        auto* timer = reinterpret_cast<TTimer*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        if (timer && timer->onTimer_) {
            try {
                timer->onTimer_(timer);
            } catch (...) {
                ReportCurrentException();
            }
        }
        return 0;
    }
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
}
