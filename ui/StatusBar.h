#pragma once
#include "ui/Control.h"
#include "ui/DefaultPixels.h"

#include <vector>

struct TStatusPanel {
    String Text;
    int Width = kDefaultColumnWidth;
};

class TStatusBar : public TControl {
public:
    using TControl::TControl;
    const std::vector<TStatusPanel>& Panels() const { return panels_; }
    // The text the native control shows in a panel.
    String PanelText(int index) const;

    bool SetLayoutProperty(const LayoutProperty& property) override;

private:
    CreateParams CreationParams() const override;
    void HandleCreated() override;
    void PixelsChanged(int from, int to) override;
    void SetParts();
    std::vector<TStatusPanel> panels_;
    bool simplePanel_ = false;
};
