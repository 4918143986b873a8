#include "browser/SearchWindow.h"
#include "sysinfo/SysInfoWindow.h"
#include "ui/Application.h"

#include <memory>
#include <utility>

namespace {

// SysInfoTest names the window while it is open, and no longer.
class CurrentWindow {
public:
    explicit CurrentWindow(TSysInfoTest* window) : previous_(std::exchange(SysInfoTest, window)) {}
    ~CurrentWindow() { SysInfoTest = previous_; }
    CurrentWindow(const CurrentWindow&) = delete;
    CurrentWindow& operator=(const CurrentWindow&) = delete;

private:
    TSysInfoTest* previous_;
};

} // namespace

void TSearchWindow::Button1Click(TObject*)
{
    // Built afresh for every click, gathering everything while it is built,
    // and gone before the click returns, also when showing it fails.
    const std::unique_ptr<TSysInfoTest> window(new TSysInfoTest(Application));
    const CurrentWindow current(window.get());
    window->ShowModal();
}
