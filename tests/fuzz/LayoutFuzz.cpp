// Arbitrary text as a stored window layout. The parser either refuses it
// with the framework's exception or answers objects that, written out again,
// parse to the same objects.
#include "base/Exception.h"
#include "tests/fuzz/FuzzCheck.h"
#include "ui/Layout.h"

#include <algorithm>
#include <cstdint>

namespace {

void WriteProperties(String& out, const std::vector<LayoutProperty>& properties);

void WriteValue(String& out, const LayoutValue& value)
{
    switch (value.kind) {
    case LayoutValue::Kind::Integer:
        out += std::to_string(value.integer);
        break;
    case LayoutValue::Kind::Text:
        out += '\'';
        for (char c : value.text) {
            out += c;
            if (c == '\'')
                out += '\'';
        }
        out += '\'';
        break;
    case LayoutValue::Kind::Identifier:
        out += value.text;
        break;
    case LayoutValue::Kind::Set:
        out += '[';
        for (std::size_t i = 0; i < value.set.size(); ++i)
            out += (i ? ", " : "") + value.set[i];
        out += ']';
        break;
    case LayoutValue::Kind::Collection:
        out += "<\n";
        for (const auto& item : value.collection) {
            out += "item\n";
            WriteProperties(out, item);
            out += "end\n";
        }
        out += '>';
        break;
    }
}

void WriteProperties(String& out, const std::vector<LayoutProperty>& properties)
{
    for (const LayoutProperty& property : properties) {
        out += property.name + " = ";
        WriteValue(out, property.value);
        out += '\n';
    }
}

void WriteObject(String& out, const LayoutObject& object)
{
    out += "object " + object.name + ": " + object.className + "\n";
    WriteProperties(out, object.properties);
    for (const LayoutObject& child : object.children)
        WriteObject(out, child);
    out += "end\n";
}

bool SameProperties(const std::vector<LayoutProperty>& a, const std::vector<LayoutProperty>& b);

bool SameValue(const LayoutValue& a, const LayoutValue& b)
{
    if (a.kind != b.kind || a.integer != b.integer || a.text != b.text || a.set != b.set ||
        a.collection.size() != b.collection.size())
        return false;
    for (std::size_t i = 0; i < a.collection.size(); ++i)
        if (!SameProperties(a.collection[i], b.collection[i]))
            return false;
    return true;
}

bool SameProperties(const std::vector<LayoutProperty>& a, const std::vector<LayoutProperty>& b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i].name != b[i].name || !SameValue(a[i].value, b[i].value))
            return false;
    return true;
}

bool SameObject(const LayoutObject& a, const LayoutObject& b)
{
    if (a.name != b.name || a.className != b.className || !SameProperties(a.properties, b.properties) ||
        a.children.size() != b.children.size())
        return false;
    for (std::size_t i = 0; i < a.children.size(); ++i)
        if (!SameObject(a.children[i], b.children[i]))
            return false;
    return true;
}

// The helpers the form builder calls answer or refuse, whatever the kind.
void UseProperties(const std::vector<LayoutProperty>& properties, int lines)
{
    for (const LayoutProperty& property : properties) {
        FUZZ_CHECK(!property.name.empty());
        FUZZ_CHECK(property.line >= 1 && property.line <= lines);
        try {
            LayoutInteger(property);
            FUZZ_CHECK(property.value.kind == LayoutValue::Kind::Integer);
        } catch (const Exception&) {
        }
        try {
            LayoutBoolean(property);
            FUZZ_CHECK(property.value.text == "True" || property.value.text == "False");
        } catch (const Exception&) {
        }
        try {
            LayoutText(property);
        } catch (const Exception&) {
        }
        for (const auto& item : property.value.collection)
            UseProperties(item, lines);
    }
}

void UseObject(const LayoutObject& object, int lines)
{
    FUZZ_CHECK(!object.name.empty() && !object.className.empty());
    UseProperties(object.properties, lines);
    for (const LayoutObject& child : object.children)
        UseObject(child, lines);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    LayoutObject parsed;
    try {
        parsed = ParseLayout(text);
    } catch (const Exception& e) {
        FUZZ_CHECK(e.Message().rfind("layout line ", 0) == 0);
        return 0;
    }
    const int lines = 1 + static_cast<int>(std::count(text.begin(), text.end(), '\n'));
    UseObject(parsed, lines);

    String written;
    WriteObject(written, parsed);
    try {
        FUZZ_CHECK(SameObject(ParseLayout(written), parsed));
    } catch (const Exception&) {
        FUZZ_CHECK(!"a layout written from parsed objects is refused");
    }
    return 0;
}
