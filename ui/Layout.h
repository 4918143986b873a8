#pragma once
// Stored window layouts: a small text format, one object per control.
//
//   object SearchWindow: TSearchWindow
//     Caption = '윈도우탐색기'
//     Left = 221
//     OnCreate = ShowWnd
//     object Panel1: TPanel
//       Align = alTop
//     end
//     Columns = <
//       item
//         Caption = '이름'
//         Width = 150
//       end>
//   end
//
// Values are integers, quoted texts ('' inside a text is one quote),
// identifiers (enumerations, booleans, handler and component names),
// sets [a, b] and collections <item ... end ...>.
#include "base/Exception.h"
#include "base/Text.h"

#include <cstdint>
#include <memory>
#include <vector>

struct LayoutProperty;

struct LayoutValue {
    enum class Kind { Integer, Text, Identifier, Set, Collection };
    Kind kind = Kind::Integer;
    std::int64_t integer = 0;
    String text;                                         // Text and Identifier
    std::vector<String> set;                             // Set
    std::vector<std::vector<LayoutProperty>> collection; // Collection: one property list per item
};

struct LayoutProperty {
    String name;
    LayoutValue value;
    int line = 0;
};

struct LayoutObject {
    String name;
    String className;
    std::vector<LayoutProperty> properties;
    std::vector<LayoutObject> children;
    int line = 0;
};

// The error of a layout that cannot be used, named by its line:
// "layout line 12: unknown alignment alMiddle".
Exception LayoutError(int line, const String& what);

// Throws Exception naming the line for malformed text.
LayoutObject ParseLayout(std::string_view text);

// Helpers for property handlers; each throws Exception on a value of the wrong kind.
std::int64_t LayoutInteger(const LayoutProperty& property);
const String& LayoutText(const LayoutProperty& property);
const String& LayoutIdentifier(const LayoutProperty& property);
bool LayoutBoolean(const LayoutProperty& property);
