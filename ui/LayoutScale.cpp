#include "ui/LayoutScale.h"

#include "ui/DefaultPixels.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

bool IsPixelProperty(const String& name)
{
    static const char* const kNames[] = {"Left",         "Top",         "Width",      "Height", "ClientWidth",
                                         "ClientHeight", "Font.Height", "ItemHeight", "Indent", "MinSize"};
    for (const char* pixelName : kNames)
        if (name == pixelName)
            return true;
    return false;
}

namespace {

// 8 point at 96 pixels per inch, the least a text is drawn with.
constexpr std::int64_t kLeastTextHeight = 11;
// What the framework draws with where a layout names no font height.
constexpr std::int64_t kDefaultFontHeight = 11;

std::int64_t Scaled(std::int64_t value, int pixelsPerInch)
{
    // Split at whole inches so that no figure a layout can hold overflows the
    // product; a figure beyond any screen saturates. The remainder is rounded
    // half away from zero, so that -11 and 11 scale alike.
    constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
    const std::int64_t inches = value / 96;
    const std::int64_t rest = value % 96 * pixelsPerInch;
    const std::int64_t restScaled = rest >= 0 ? (rest + 48) / 96 : -((-rest + 48) / 96);
    // The remainder's part has the sign of the whole: each side is checked
    // against its own limit.
    const bool beyond =
        value >= 0 ? inches > (kMax - restScaled) / pixelsPerInch : inches < -((kMax + restScaled) / pixelsPerInch);
    if (beyond)
        return value >= 0 ? kMax : -kMax;
    return inches * pixelsPerInch + restScaled;
}

void ScaleProperties(std::vector<LayoutProperty>& properties, int pixelsPerInch)
{
    for (LayoutProperty& property : properties) {
        if (property.value.kind == LayoutValue::Kind::Integer && IsPixelProperty(property.name))
            property.value.integer = Scaled(property.value.integer, pixelsPerInch);
        else if (property.value.kind == LayoutValue::Kind::Collection)
            for (auto& item : property.value.collection)
                ScaleProperties(item, pixelsPerInch);
    }
}

} // namespace

std::int64_t ScalePixels(std::int64_t value, int pixelsPerInch)
{
    if (pixelsPerInch == 96 || pixelsPerInch <= 0)
        return value;
    return Scaled(value, pixelsPerInch);
}

int LowestReadablePixelsPerInch(const LayoutObject& layout, int density)
{
    if (density <= 0)
        return 96;
    std::vector<std::int64_t> heights;
    bool rootNamesHeight = false;
    std::vector<const LayoutObject*> pending{&layout};
    while (!pending.empty()) {
        const LayoutObject* object = pending.back();
        pending.pop_back();
        for (const LayoutProperty& property : object->properties)
            if (property.name == "Font.Height" && property.value.kind == LayoutValue::Kind::Integer &&
                property.value.integer != 0) {
                // A positive height is the cell's, a negative one the characters': both shrink alike.
                heights.push_back(std::min(std::abs(property.value.integer), std::int64_t{1} << 40));
                rootNamesHeight = rootNamesHeight || object == &layout;
            }
        for (const LayoutObject& child : object->children)
            pending.push_back(&child);
    }
    if (!rootNamesHeight)
        heights.push_back(kDefaultFontHeight);
    int lowest = 1;
    for (std::int64_t height : heights) {
        const std::int64_t least = std::min(Scaled(height, density), Scaled(kLeastTextHeight, density));
        int pixelsPerInch = density;
        while (pixelsPerInch > 1 && Scaled(height, pixelsPerInch - 1) >= least)
            --pixelsPerInch;
        lowest = std::max(lowest, pixelsPerInch);
    }
    return lowest;
}

bool HasAlignedControls(const LayoutObject& layout)
{
    std::vector<const LayoutObject*> pending;
    for (const LayoutObject& child : layout.children)
        pending.push_back(&child);
    while (!pending.empty()) {
        const LayoutObject* object = pending.back();
        pending.pop_back();
        for (const LayoutProperty& property : object->properties)
            if (property.name == "Align" && property.value.kind == LayoutValue::Kind::Identifier &&
                property.value.text != "alNone")
                return true;
        for (const LayoutObject& child : object->children)
            pending.push_back(&child);
    }
    return false;
}

void ScaleLayout(LayoutObject& layout, int pixelsPerInch)
{
    const bool scaled = pixelsPerInch != 96 && pixelsPerInch > 0;
    std::vector<LayoutObject*> pending{&layout};
    while (!pending.empty()) {
        LayoutObject* object = pending.back();
        pending.pop_back();
        // Written at every density, so that layouts of two densities name the
        // same figures and one can take the other's place.
        WriteDefaultPixels(*object);
        if (scaled)
            ScaleProperties(object->properties, pixelsPerInch);
        for (LayoutObject& child : object->children)
            pending.push_back(&child);
    }
}
