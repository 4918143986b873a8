#include "ui/LayoutScale.h"

namespace {

bool IsPixelProperty(const String& name)
{
    static const char* const kNames[] = {"Left",   "Top",          "Width",      "Height", "ClientWidth",
                                         "ClientHeight", "Font.Height", "ItemHeight", "Indent", "MinSize"};
    for (const char* pixelName : kNames)
        if (name == pixelName)
            return true;
    return false;
}

std::int64_t Scaled(std::int64_t value, int pixelsPerInch)
{
    // Rounded half away from zero, so that -11 and 11 scale alike.
    const std::int64_t product = value * pixelsPerInch;
    return product >= 0 ? (product + 48) / 96 : -((-product + 48) / 96);
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
        ScaleProperties(object->properties, pixelsPerInch);
        for (LayoutObject& child : object->children)
            pending.push_back(&child);
    }
}

