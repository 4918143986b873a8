#include "ui/DefaultPixels.h"

namespace {

struct DefaultPixel {
    const char* className;
    const char* collection; // null: a property of the object itself
    const char* name;
    int value;
};

constexpr DefaultPixel kDefaults[] = {
    {"TListView", "Columns", "Width", kDefaultColumnWidth}, {"TStatusBar", "Panels", "Width", kDefaultColumnWidth},
    {"TTreeView", nullptr, "Indent", kDefaultTreeIndent},   {"TSplitter", nullptr, "MinSize", kDefaultSplitterMinSize},
    {"TImageList", nullptr, "Width", kDefaultPictureSize},  {"TImageList", nullptr, "Height", kDefaultPictureSize},
};

void WriteIfMissing(std::vector<LayoutProperty>& properties, const DefaultPixel& pixel, int line)
{
    for (const LayoutProperty& property : properties)
        if (property.name == pixel.name)
            return;
    LayoutProperty property;
    property.name = pixel.name;
    property.value.integer = pixel.value;
    property.line = line;
    // First, as what holds until the layout says more: an image list must
    // know its size before its pictures come.
    properties.insert(properties.begin(), std::move(property));
}

} // namespace

void WriteDefaultPixels(LayoutObject& object)
{
    for (const DefaultPixel& pixel : kDefaults) {
        if (object.className != pixel.className)
            continue;
        if (!pixel.collection) {
            WriteIfMissing(object.properties, pixel, object.line);
            continue;
        }
        for (LayoutProperty& property : object.properties)
            if (property.name == pixel.collection && property.value.kind == LayoutValue::Kind::Collection)
                for (std::vector<LayoutProperty>& item : property.value.collection)
                    WriteIfMissing(item, pixel, property.line);
    }
}
