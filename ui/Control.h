#pragma once
// A component with a native window. Native controls are subclassed, the
// framework's own window classes go through one trampoline; both end in
// WindowProc. Notifications a parent receives are handed back to the
// child control that sent them, so handlers bind to a named control.
#include "platform/UniqueHandle.h"
#include "ui/Bounds.h"
#include "ui/Component.h"

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

enum class TAlign { None, Top, Bottom, Left, Right, Client };

struct TFontChoice {
    String name = "MS Sans Serif";
    int height = -11;
    int charset = DEFAULT_CHARSET;
    bool bold = false;
};

class TControl : public TComponent {
public:
    explicit TControl(TComponent* owner);
    ~TControl() override;

    HWND Handle() const { return hwnd_; }
    TControl* Parent() const { return parent_; }
    // Places the control inside another; only before its handle exists.
    void SetParent(TControl* parent);
    const std::vector<TControl*>& Controls() const { return controls_; }

    const TBounds& Bounds() const { return bounds_; }
    void SetBounds(const TBounds& bounds);
    TAlign Align() const { return align_; }
    int TabOrder() const { return tabOrder_; }
    bool Visible() const { return visible_; }

    String Text() const;
    void SetText(const String& text);
    void SetTextBuf(const char* text) { SetText(text ? text : ""); }

    HFONT FontHandle() const;
    const TFontChoice& Font() const;

    // Creates the native window, then those of the controls placed in it.
    void CreateHandle();
    // Stops dispatching to this object, then destroys the native window.
    void DestroyHandle();
    // Lays out the aligned children in the client area.
    void AlignControls();
    // The same for every control inside, outermost first.
    void RealignControls();
    // Takes the figures applied again at another density on the native
    // windows of this control and of those inside it: fonts, positions and
    // sizes, and what each kind of control draws with. Fonts they no longer
    // use go to `retired`, to be deleted once no window holds them.
    void RefreshPixels(int from, int to, std::vector<platform::Font>& retired);
    // Puts the children's windows into tab order.
    void ApplyTabOrder();

    static TControl* FromHandle(HWND hwnd);

    bool SetLayoutProperty(const LayoutProperty& property) override;

protected:
    struct CreateParams {
        const wchar_t* className = nullptr;
        DWORD style = 0;
        DWORD exStyle = 0;
        bool ownClass = false; // registered with the framework's trampoline
        HWND owner = nullptr;  // top-level windows only
    };
    virtual CreateParams CreationParams() const = 0;
    virtual void HandleCreated() {}
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT DefaultProc(UINT message, WPARAM wParam, LPARAM lParam);

    // Notifications reflected from the parent window; nullopt lets the
    // parent's default processing answer.
    virtual void HandleCommand(WORD /*code*/) {}
    virtual std::optional<LRESULT> HandleNotify(NMHDR& /*header*/) { return std::nullopt; }

    // The outer bounds of the native window.
    virtual TBounds NativeBounds() const;
    // After RefreshPixels has given the window its new font and bounds: what
    // else the control draws with at the new density. `from` and `to` are
    // the pixels per inch of the figures before and after.
    virtual void PixelsChanged(int /*from*/, int /*to*/) {}
    const String& InitialText() const { return text_; }

    void SetFontChoice(const TFontChoice& choice);

private:
    friend LRESULT CALLBACK FrameworkWindowProc(HWND, UINT, WPARAM, LPARAM);
    static LRESULT CALLBACK SubclassProc(HWND, UINT, WPARAM, LPARAM);
    LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam);
    void Attach(HWND hwnd);
    void Detach();
    TControl* ChildFromHandle(HWND hwnd) const;

    HWND hwnd_ = nullptr;
    bool ownClass_ = false;
    WNDPROC originalProc_ = nullptr;
    TControl* parent_ = nullptr;
    std::vector<TControl*> controls_;
    TBounds bounds_;
    TAlign align_ = TAlign::None;
    int tabOrder_ = -1;
    bool visible_ = true;
    String text_;
    std::optional<TFontChoice> font_;
    platform::Font fontHandle_;
};

// Registers a framework window class on first use; answers its name.
const wchar_t* FrameworkWindowClass(const wchar_t* name, HCURSOR cursor = nullptr);
