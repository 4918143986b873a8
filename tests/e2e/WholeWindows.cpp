// Both windows built as the program builds them, shown at the screen's
// density, and every control looked at as a user would see it: each text in
// Hangul it shows has a glyph in the font the control draws with, and the
// control lies inside its window's client area. With TAMSAEK_DENSITY_TRIP=1
// both are then moved, as the platform tells a window it moved, to monitors
// of 96, 144, 192 and 96 dpi and back: the same holds at each, and the trip
// leaves each as it was. Wine has one monitor, so the trip keeps its work
// area: it is made on screens large enough for all three densities.
//   tamsaek_whole_windows PICTURE_FOLDER
// Exits with 0 when both hold for every control; pictures of both windows
// go to PICTURE_FOLDER as whole-main.png and whole-sysinfo.png.
#include "browser/SearchWindow.h"
#include "platform/UniqueHandle.h"
#include "sysinfo/SysInfoWindow.h"
#include "tests/e2e/Remote.h"
#include "tests/e2e/Screenshot.h"
#include "tests/support/LayoutShot.h"
#include "ui/Application.h"
#include "ui/Dialogs.h"

#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

void Log(const std::string& text)
{
    std::printf("[whole] %s\n", text.c_str());
    std::fflush(stdout);
}

bool IsHangul(wchar_t c)
{
    return (c >= 0x1100 && c <= 0x11FF) || (c >= 0x3130 && c <= 0x318F) || (c >= 0xAC00 && c <= 0xD7A3);
}

std::wstring ItemText(HWND window, UINT message, WPARAM index, auto& item)
{
    wchar_t buffer[1024] = {};
    item.pszText = buffer;
    item.cchTextMax = 1024;
    ::SendMessageW(window, message, index, reinterpret_cast<LPARAM>(&item));
    return buffer;
}

void TreeTexts(HWND tree, HTREEITEM item, std::vector<std::wstring>& texts)
{
    for (; item; item = TreeView_GetNextSibling(tree, item)) {
        TVITEMW data{};
        data.mask = TVIF_TEXT;
        data.hItem = item;
        texts.push_back(ItemText(tree, TVM_GETITEMW, 0, data));
        TreeTexts(tree, TreeView_GetChild(tree, item), texts);
    }
}

// What the control draws as text: its caption, or the items it lists.
std::vector<std::wstring> TextsOf(HWND control)
{
    const std::wstring kind = ClassOf(control);
    std::vector<std::wstring> texts;
    if (kind == L"ListBox") {
        texts = ListBoxItems(control);
    } else if (kind == WC_TREEVIEWW) {
        TreeTexts(control, TreeView_GetRoot(control), texts);
    } else if (kind == WC_LISTVIEWW) {
        const int columns = Header_GetItemCount(ListView_GetHeader(control));
        for (int row = 0; row < ListView_GetItemCount(control); ++row)
            for (int column = 0; column < columns; ++column) {
                LVITEMW item{};
                item.iSubItem = column;
                texts.push_back(ItemText(control, LVM_GETITEMTEXTW, row, item));
            }
    } else if (kind == WC_HEADERW) {
        for (int column = 0; column < Header_GetItemCount(control); ++column) {
            HDITEMW item{};
            item.mask = HDI_TEXT;
            texts.push_back(ItemText(control, HDM_GETITEMW, column, item));
        }
    } else if (kind == STATUSCLASSNAMEW) {
        const auto parts = static_cast<int>(::SendMessageW(control, SB_GETPARTS, 0, 0));
        for (int part = 0; part < parts; ++part) {
            wchar_t buffer[1024] = {};
            if (LOWORD(::SendMessageW(control, SB_GETTEXTLENGTHW, part, 0)) < 1024)
                ::SendMessageW(control, SB_GETTEXTW, part, reinterpret_cast<LPARAM>(buffer));
            texts.emplace_back(buffer);
        }
    } else {
        texts.push_back(WindowText(control));
    }
    return texts;
}

// The Hangul of `text` that the control's own font has no glyph for.
std::wstring MissingGlyphs(HWND control, const std::wstring& text)
{
    auto font = reinterpret_cast<HGDIOBJ>(::SendMessageW(control, WM_GETFONT, 0, 0));
    if (!font)
        font = ::GetStockObject(SYSTEM_FONT); // what a control without a font draws with
    const platform::MemoryDc dc(::CreateCompatibleDC(nullptr));
    const HGDIOBJ previous = ::SelectObject(dc.Get(), font);
    std::vector<WORD> glyphs(text.size());
    const DWORD done = ::GetGlyphIndicesW(dc.Get(), text.c_str(), static_cast<int>(text.size()), glyphs.data(),
                                          GGI_MARK_NONEXISTING_GLYPHS);
    ::SelectObject(dc.Get(), previous);
    if (done == GDI_ERROR)
        throw Failure("no glyph indices for \"" + Utf8(text) + "\"");
    std::wstring missing;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (IsHangul(text[i]) && glyphs[i] == 0xFFFF)
            missing += text[i];
    return missing;
}

// The window inside the work area, every control inside the part of its
// client area that can be seen, and every Hangul it shows drawn with glyphs; `expected` must be among what it shows, so
// that a window that shows no Hangul at all cannot pass.
int CheckWindow(HWND window, const char* name, const std::vector<std::wstring>& expected)
{
    RECT client{};
    ::GetClientRect(window, &client);
    ::MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
    Log(std::string(name) + ": client area " + std::to_string(client.right - client.left) + " x " +
        std::to_string(client.bottom - client.top));
    int faults = 0;
    for (const std::string& fault : PlacementFaults(window, name)) {
        Log("FAULT " + fault);
        ++faults;
    }
    std::vector<std::wstring> hangul;
    for (HWND control : Descendants(window)) {
        if (!::IsWindowVisible(control))
            continue;
        const std::string label = std::string(name) + " " + Utf8(ClassOf(control)) + " \"" +
                                  Printable(WindowText(control).substr(0, 24)) + "\"";
        RECT r{};
        ::GetWindowRect(control, &r);
        if (r.left < client.left || r.top < client.top || r.right > client.right || r.bottom > client.bottom) {
            Log("FAULT " + label + " reaches outside the client area: (" + std::to_string(r.left - client.left) + ", " +
                std::to_string(r.top - client.top) + ") to (" + std::to_string(r.right - client.left) + ", " +
                std::to_string(r.bottom - client.top) + ")");
            ++faults;
        }
        for (const std::wstring& text : TextsOf(control)) {
            bool any = false;
            for (wchar_t c : text)
                any = any || IsHangul(c);
            if (!any)
                continue;
            hangul.push_back(text);
            if (const std::wstring missing = MissingGlyphs(control, text); !missing.empty()) {
                Log("FAULT " + label + " has no glyph for \"" + Utf8(missing) + "\" of \"" + Printable(text) + "\"");
                ++faults;
            }
        }
    }
    for (const std::wstring& text : expected) {
        bool found = false;
        for (const std::wstring& shown : hangul)
            found = found || shown.find(text) != std::wstring::npos;
        if (!found) {
            Log("FAULT " + std::string(name) + " shows no \"" + Utf8(text) + "\"");
            ++faults;
        }
    }
    Log(std::string(name) + ": " + std::to_string(hangul.size()) + " texts in Hangul looked at");
    return faults;
}

// The row pictures of every list and tree of the form at the size its
// layout's density asks for: 16 pixels at 96 dpi.
int PictureFaults(TForm& form, const std::string& label)
{
    const int wanted = ::MulDiv(16, form.LayoutPixelsPerInch(), 96);
    int faults = 0;
    for (HWND control : Descendants(form.Handle())) {
        const std::wstring kind = ClassOf(control);
        HIMAGELIST list = nullptr;
        if (kind == WC_LISTVIEWW)
            list = ListView_GetImageList(control, LVSIL_SMALL);
        else if (kind == WC_TREEVIEWW)
            list = TreeView_GetImageList(control, TVSIL_NORMAL);
        else
            continue;
        int width = 0;
        int height = 0;
        if (!list || !::ImageList_GetIconSize(list, &width, &height) || width != wanted || height != wanted) {
            Log("FAULT " + label + " " + Utf8(kind) + ": row pictures " + std::to_string(width) + " x " +
                std::to_string(height) + ", not " + std::to_string(wanted));
            ++faults;
        }
    }
    return faults;
}

const wchar_t kHangulTitle[] = L"한글 제목의 창";

// Our forms are control parents, which the window list leaves out.
class HangulTitledWindow {
public:
    HangulTitledWindow()
    {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = ::DefWindowProcW;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = L"TamsaekTitled";
        ::RegisterClassExW(&wc);
        hwnd_ = ::CreateWindowExW(0, wc.lpszClassName, kHangulTitle, WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr,
                                  nullptr, wc.hInstance, nullptr);
        if (!hwnd_)
            throw Failure("cannot make a window titled in Hangul");
        ::ShowWindow(hwnd_, SW_SHOWNOACTIVATE);
    }
    ~HangulTitledWindow() { ::DestroyWindow(hwnd_); }
    HangulTitledWindow(const HangulTitledWindow&) = delete;
    HangulTitledWindow& operator=(const HangulTitledWindow&) = delete;

private:
    HWND hwnd_ = nullptr;
};

// Lets the windows take and draw what they were given.
void Settle(DWORD milliseconds)
{
    const ULONGLONG until = ::GetTickCount64() + milliseconds;
    while (::GetTickCount64() < until) {
        MSG message;
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
        ::Sleep(20);
    }
}

// The window checked at each density of the trip and compared, back where
// it started, with how it was.
int DensityTrip(TForm& form, const char* name, const std::vector<std::wstring>& expected)
{
    const std::vector<std::string> start = Shot(form);
    const int home = form.PixelsPerInch();
    int faults = 0;
    int density = home;
    // Each control's font at 96 dpi, once the trip has been there: at every
    // later density it must be that height scaled.
    std::map<const TControl*, long> fontsAt96;
    for (int step : {96, 144, 192, 96, home}) {
        if (step == density)
            continue;
        SendDensityChange(form, density, step);
        density = step;
        Settle(200);
        const std::string label = std::string(name) + " at " + std::to_string(step) + " dpi";
        if (form.PixelsPerInch() != step) {
            Log("FAULT " + label + ": the window did not take the density");
            ++faults;
        }
        if (form.LayoutPixelsPerInch() != step)
            Log(label + ": drawn at " + std::to_string(form.LayoutPixelsPerInch()) + " dpi to fit the work area");
        faults += CheckWindow(form.Handle(), label.c_str(), expected);
        faults += PictureFaults(form, label);
        const bool record = step == 96 && fontsAt96.empty();
        for (std::size_t i = 0; i < form.ComponentCount(); ++i) {
            auto* control = dynamic_cast<TControl*>(form.Component(i));
            if (!control || !control->Handle())
                continue;
            const long height = FontHeight(control->Handle());
            if (record) {
                fontsAt96[control] = height;
                continue;
            }
            // Drawn smaller where the window would not fit at the density.
            const int scale = form.LayoutPixelsPerInch();
            if (const auto known = fontsAt96.find(control); known != fontsAt96.end()) {
                const long at96 = known->second;
                if (height != ::MulDiv(at96, scale, 96)) {
                    Log("FAULT " + label + " " + control->Name() + " draws with a font of " + std::to_string(height) +
                        ", not " + std::to_string(::MulDiv(at96, scale, 96)) + " (drawn at " + std::to_string(scale) +
                        " dpi)");
                    ++faults;
                }
            }
        }
    }
    const std::vector<std::string> end = Shot(form);
    for (std::size_t i = 0; i < start.size() || i < end.size(); ++i) {
        const std::string before = i < start.size() ? start[i] : "(none)";
        const std::string after = i < end.size() ? end[i] : "(none)";
        if (before != after) {
            Log("FAULT " + std::string(name) + " after the trip: " + after + " (was " + before + ")");
            ++faults;
        }
    }
    return faults;
}

bool DensityTripAsked()
{
    wchar_t value[8] = {};
    const DWORD length = ::GetEnvironmentVariableW(L"TAMSAEK_DENSITY_TRIP", value, 8);
    return length == 1 && value[0] == L'1';
}

std::wstring PictureFolder()
{
    return PathArguments(1, "tamsaek_whole_windows PICTURE_FOLDER")[0];
}

int Run()
{
    const std::wstring pictures = PictureFolder();
    ::CreateDirectoryW(pictures.c_str(), nullptr);
    // The information window's boxes are not what is looked at here.
    SetMessageSink([](MessageKind, const String&) {});
    Application->Initialize();

    const platform::ScreenDc screen(::GetDC(nullptr));
    Log("screen: " + std::to_string(::GetDeviceCaps(screen.Get(), LOGPIXELSY)) + " dpi");

    auto* main = new TSearchWindow(Application);
    main->Show();
    Settle(500);
    const std::vector<std::wstring> mainTexts = {L"주소창", L"바로가기",   L"시스템정보",
                                                 L"이름",   L"C 드라이브", L"파일갯수"};
    int faults = CheckWindow(main->Handle(), "main window", mainTexts) + PictureFaults(*main, "main window");
    SaveWindowPicture(main->Handle(), pictures + L"\\whole-main.png");
    const bool trip = DensityTripAsked();
    if (trip)
        faults += DensityTrip(*main, "main window", mainTexts);

    // A window of another program with a title in Hangul, for the window list.
    const HangulTitledWindow titled;
    const std::unique_ptr<TSysInfoTest> info = std::make_unique<TSysInfoTest>(Application);
    info->Show();
    // The clock shows its first time, in the user's format, after a tick.
    Settle(1500);
    faults += CheckWindow(info->Handle(), "information window", {kHangulTitle});
    SaveWindowPicture(info->Handle(), pictures + L"\\whole-sysinfo.png");
    if (trip)
        faults += DensityTrip(*info, "information window", {kHangulTitle});
    return faults == 0 ? 0 : 1;
}

} // namespace

int main()
{
    try {
        const int code = Run();
        Log(code == 0 ? "passed" : "FAILED");
        return code;
    } catch (const std::exception& e) {
        Log(std::string("FAILED: ") + e.what());
        return 1;
    }
}
