#include "ui/Layout.h"

#include "base/Exception.h"

#include <cctype>
#include <limits>

namespace {

class Parser {
public:
    explicit Parser(std::string_view text) : text_(text)
    {
        // A UTF-8 byte-order mark is allowed at the start.
        if (text_.substr(0, 3) == "\xEF\xBB\xBF")
            pos_ = 3;
    }

    LayoutObject Document()
    {
        SkipSpace();
        LayoutObject root = Object();
        SkipSpace();
        if (pos_ != text_.size())
            Fail("text after the last 'end'");
        return root;
    }

private:
    [[noreturn]] void Fail(const String& what) const { throw LayoutError(line_, what); }

    // Objects and collections are parsed by recursion: their nesting is
    // bounded, so that no text can exhaust the stack. Windows nest a few
    // levels deep.
    static constexpr int kMaxNesting = 64;
    class Nesting {
    public:
        explicit Nesting(Parser& parser) : parser_(parser)
        {
            if (++parser_.nesting_ > kMaxNesting)
                parser_.Fail("nested more than " + std::to_string(kMaxNesting) + " levels deep");
        }
        ~Nesting() { --parser_.nesting_; }
        Nesting(const Nesting&) = delete;
        Nesting& operator=(const Nesting&) = delete;

    private:
        Parser& parser_;
    };

    void SkipSpace()
    {
        while (pos_ < text_.size()) {
            const char c = text_[pos_];
            if (c == '\n') {
                ++line_;
                ++pos_;
            } else if (c == ' ' || c == '\t' || c == '\r') {
                ++pos_;
            } else if (c == '/' && pos_ + 1 < text_.size() && text_[pos_ + 1] == '/') {
                while (pos_ < text_.size() && text_[pos_] != '\n')
                    ++pos_;
            } else {
                break;
            }
        }
    }

    static bool IsNameChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '.'; }

    String Name()
    {
        SkipSpace();
        const std::size_t start = pos_;
        while (pos_ < text_.size() && IsNameChar(text_[pos_]))
            ++pos_;
        if (start == pos_)
            Fail("a name is missing");
        return String(text_.substr(start, pos_ - start));
    }

    bool PeekWord(std::string_view word)
    {
        SkipSpace();
        if (text_.substr(pos_, word.size()) != word)
            return false;
        const std::size_t after = pos_ + word.size();
        return after == text_.size() || !IsNameChar(text_[after]);
    }

    void Expect(char c)
    {
        SkipSpace();
        if (pos_ >= text_.size() || text_[pos_] != c)
            Fail(String("'") + c + "' expected");
        ++pos_;
    }

    LayoutObject Object()
    {
        if (!PeekWord("object"))
            Fail("'object' expected");
        const Nesting nesting(*this);
        LayoutObject object;
        object.line = line_;
        pos_ += 6;
        object.name = Name();
        Expect(':');
        object.className = Name();
        for (;;) {
            if (PeekWord("end")) {
                pos_ += 3;
                return object;
            }
            if (PeekWord("object")) {
                object.children.push_back(Object());
                continue;
            }
            if (pos_ >= text_.size())
                Fail("'end' missing for object " + object.name);
            object.properties.push_back(Property());
        }
    }

    LayoutProperty Property()
    {
        LayoutProperty property;
        property.line = line_;
        property.name = Name();
        Expect('=');
        property.value = Value();
        return property;
    }

    LayoutValue Value()
    {
        SkipSpace();
        if (pos_ >= text_.size())
            Fail("a value is missing");
        LayoutValue value;
        const char c = text_[pos_];
        if (c == '\'') {
            value.kind = LayoutValue::Kind::Text;
            value.text = Quoted();
        } else if (c == '-' || std::isdigit(static_cast<unsigned char>(c))) {
            value.kind = LayoutValue::Kind::Integer;
            value.integer = Integer();
        } else if (c == '[') {
            value.kind = LayoutValue::Kind::Set;
            ++pos_;
            SkipSpace();
            while (pos_ < text_.size() && text_[pos_] != ']') {
                value.set.push_back(Name());
                SkipSpace();
                if (pos_ < text_.size() && text_[pos_] == ',')
                    ++pos_;
                SkipSpace();
            }
            Expect(']');
        } else if (c == '<') {
            const Nesting nesting(*this);
            value.kind = LayoutValue::Kind::Collection;
            ++pos_;
            for (;;) {
                SkipSpace();
                if (pos_ < text_.size() && text_[pos_] == '>') {
                    ++pos_;
                    break;
                }
                if (!PeekWord("item"))
                    Fail("'item' or '>' expected");
                pos_ += 4;
                std::vector<LayoutProperty> item;
                while (!PeekWord("end")) {
                    if (pos_ >= text_.size())
                        Fail("'end' missing for item");
                    item.push_back(Property());
                }
                pos_ += 3;
                value.collection.push_back(std::move(item));
            }
        } else {
            value.kind = LayoutValue::Kind::Identifier;
            value.text = Name();
        }
        return value;
    }

    String Quoted()
    {
        String text;
        ++pos_;
        for (;;) {
            if (pos_ >= text_.size() || text_[pos_] == '\n')
                Fail("unterminated text");
            const char c = text_[pos_++];
            if (c != '\'') {
                text += c;
            } else if (pos_ < text_.size() && text_[pos_] == '\'') {
                text += '\'';
                ++pos_;
            } else {
                return text;
            }
        }
    }

    std::int64_t Integer()
    {
        const bool negative = text_[pos_] == '-';
        if (negative)
            ++pos_;
        if (pos_ >= text_.size() || !std::isdigit(static_cast<unsigned char>(text_[pos_])))
            Fail("digits expected");
        std::int64_t value = 0;
        while (pos_ < text_.size() && std::isdigit(static_cast<unsigned char>(text_[pos_]))) {
            const int digit = text_[pos_++] - '0';
            if (value > (std::numeric_limits<std::int64_t>::max() - digit) / 10)
                Fail("number out of range");
            value = value * 10 + digit;
        }
        return negative ? -value : value;
    }

    std::string_view text_;
    std::size_t pos_ = 0;
    int line_ = 1;
    int nesting_ = 0;
};

[[noreturn]] void WrongKind(const LayoutProperty& property, const char* expected)
{
    throw LayoutError(property.line, property.name + " needs " + expected);
}

} // namespace

Exception LayoutError(int line, const String& what)
{
    return Exception("layout line " + std::to_string(line) + ": " + what);
}

LayoutObject ParseLayout(std::string_view text)
{
    return Parser(text).Document();
}

std::int64_t LayoutInteger(const LayoutProperty& property)
{
    if (property.value.kind != LayoutValue::Kind::Integer)
        WrongKind(property, "a number");
    return property.value.integer;
}

const String& LayoutText(const LayoutProperty& property)
{
    if (property.value.kind != LayoutValue::Kind::Text)
        WrongKind(property, "a quoted text");
    return property.value.text;
}

const String& LayoutIdentifier(const LayoutProperty& property)
{
    if (property.value.kind != LayoutValue::Kind::Identifier)
        WrongKind(property, "a name");
    return property.value.text;
}

bool LayoutBoolean(const LayoutProperty& property)
{
    const String& word = LayoutIdentifier(property);
    if (word == "True")
        return true;
    if (word == "False")
        return false;
    WrongKind(property, "True or False");
}
