#include "ui/ScreenFit.h"

#include <algorithm>

namespace {

// The start of one side of length `length` within [start, start + room).
int KeepSideInside(int position, int length, int start, int room)
{
    if (length >= room)
        return start;
    return std::clamp(position, start, start + room - length);
}

} // namespace

TBounds KeepInside(const TBounds& window, const TBounds& work)
{
    TBounds placed = window;
    placed.left = KeepSideInside(window.left, window.width, work.left, work.width);
    placed.top = KeepSideInside(window.top, window.height, work.top, work.height);
    return placed;
}

TBounds CutToFit(const TBounds& window, const TBounds& work)
{
    TBounds cut = window;
    cut.width = std::min(window.width, std::max(work.width, 0));
    cut.height = std::min(window.height, std::max(work.height, 0));
    return KeepInside(cut, work);
}

int FittingPixelsPerInch(int density, int lowest, const std::function<bool(int pixelsPerInch)>& fits)
{
    for (int pixelsPerInch = density; pixelsPerInch > lowest; --pixelsPerInch)
        if (fits(pixelsPerInch))
            return pixelsPerInch;
    return std::min(lowest, density);
}
