#pragma once
// A rectangle as a layout gives it: a corner and a size, in pixels.
struct TBounds {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;

    bool operator==(const TBounds&) const = default;
};
