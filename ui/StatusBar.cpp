#include "ui/StatusBar.h"

#include "base/Exception.h"
#include "base/WideText.h"

#include <commctrl.h>

TControl::CreateParams TStatusBar::CreationParams() const
{
    // The layout places the bar; the control must not move itself.
    return {STATUSCLASSNAMEW, CCS_NOPARENTALIGN | CCS_NORESIZE | SBARS_SIZEGRIP, 0, false, nullptr};
}

void TStatusBar::HandleCreated()
{
    ::SendMessageW(Handle(), SB_SIMPLE, simplePanel_, 0);
    SetParts();
    for (std::size_t i = 0; i < panels_.size(); ++i)
        ::SendMessageW(Handle(), SB_SETTEXTW, i, reinterpret_cast<LPARAM>(Widen(panels_[i].Text).c_str()));
}

void TStatusBar::SetParts()
{
    std::vector<int> edges;
    int right = 0;
    for (const TStatusPanel& panel : panels_)
        edges.push_back(right += panel.Width);
    if (!edges.empty())
        ::SendMessageW(Handle(), SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
}

void TStatusBar::PixelsChanged(int, int)
{
    SetParts();
}

String TStatusBar::PanelText(int index) const
{
    const LRESULT length = ::SendMessageW(Handle(), SB_GETTEXTLENGTHW, static_cast<WPARAM>(index), 0);
    std::wstring text(LOWORD(length) + 1u, L'\0');
    ::SendMessageW(Handle(), SB_GETTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    text.resize(LOWORD(length));
    return Narrow(text);
}

bool TStatusBar::SetLayoutProperty(const LayoutProperty& property)
{
    if (property.name == "SimplePanel") {
        simplePanel_ = LayoutBoolean(property);
        return true;
    }
    if (property.name == "Panels") {
        if (property.value.kind != LayoutValue::Kind::Collection)
            throw LayoutError(property.line, "Panels needs items");
        // Applied again at another density, only the widths change: the
        // panels keep the texts the program has given them since.
        const bool reapplied = Handle() != nullptr;
        std::vector<TStatusPanel> previous = std::move(panels_);
        panels_.clear();
        for (const auto& item : property.value.collection) {
            TStatusPanel panel;
            for (const LayoutProperty& field : item) {
                if (field.name == "Text")
                    panel.Text = LayoutText(field);
                else if (field.name == "Width")
                    panel.Width = static_cast<int>(LayoutInteger(field));
                else
                    throw LayoutError(field.line, "unknown panel property " + field.name);
            }
            panels_.push_back(panel);
        }
        if (reapplied) {
            if (panels_.size() != previous.size())
                throw LayoutError(property.line, "the panels of " + Name() + " cannot change once they exist");
            for (std::size_t i = 0; i < panels_.size(); ++i)
                panels_[i].Text = previous[i].Text;
        }
        return true;
    }
    return TControl::SetLayoutProperty(property);
}
