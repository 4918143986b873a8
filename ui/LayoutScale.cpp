#include "ui/LayoutScale.h"

#include "ui/DefaultPixels.h"

#include <limits>

namespace {

bool IsPixelProperty(const String& name)
{
    static const char* const kNames[] = {"Left",         "Top",         "Width",      "Height", "ClientWidth",
                                         "ClientHeight", "Font.Height", "ItemHeight", "Indent", "MinSize"};
    for (const char* pixelName : kNames)
        if (name == pixelName)
            return true;
    return false;
}

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

void ScaleLayout(LayoutObject& layout, int pixelsPerInch)
{
    if (pixelsPerInch == 96 || pixelsPerInch <= 0)
        return;
    std::vector<LayoutObject*> pending{&layout};
    while (!pending.empty()) {
        LayoutObject* object = pending.back();
        pending.pop_back();
        WriteDefaultPixels(*object);
        ScaleProperties(object->properties, pixelsPerInch);
        for (LayoutObject& child : object->children)
            pending.push_back(&child);
    }
}
