// Arbitrary typed texts walked through a folder tree generated from the same
// input. The walk must end on a node of that tree or on none, and agree with
// a plain reference that splits the whole text first.
#include "browser/AddressWalk.h"
#include "tests/fuzz/FuzzCheck.h"
#include "ui/TreeNode.h"

#include <cstdint>
#include <fuzzer/FuzzedDataProvider.h>
#include <set>
#include <vector>

namespace {

// Names as drive C holds them, with letter-case variants side by side so that
// the first match must win; and texts a user could have edited into a node.
const char* const kNames[] = {
    "Windows",
    "WINDOWS",
    "windows",
    "System32",
    "system32",
    "Program Files",
    "Program Files (x86)",
    "users",
    "Users",
    "문서",
    "한글폴더",
    "한글폴더 ",
    "😀이모지",
    "𝄞음악",
    "100%s%n%d",
    "trail ",
    "a.b",
    "...",
    "ÄÖÜ",
    "äöü",
    "x",
    "X",
    "C:",
    "",
    "back\\slash",
    "tamsaek-fixture",
};

bool SameIgnoringAsciiCase(const String& a, const String& b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        unsigned char x = static_cast<unsigned char>(a[i]);
        unsigned char y = static_cast<unsigned char>(b[i]);
        if (x >= 'A' && x <= 'Z')
            x = static_cast<unsigned char>(x + 32);
        if (y >= 'A' && y <= 'Z')
            y = static_cast<unsigned char>(y + 32);
        if (x != y)
            return false;
    }
    return true;
}

// The whole text split at every backslash first, then walked.
TTreeNode* ReferenceWalk(const String& typed, TTreeNode* root)
{
    std::vector<String> components(1);
    for (char c : typed) {
        if (c == '\\')
            components.emplace_back();
        else
            components.back().push_back(c);
    }
    TTreeNode* node = root;
    for (std::size_t i = 1; node && i < components.size(); ++i) {
        if (components[i].empty())
            break;
        TTreeNode* match = nullptr;
        for (TTreeNode* child = node->getFirstChild(); child && !match; child = child->getNextSibling())
            if (SameIgnoringAsciiCase(child->Text(), components[i]))
                match = child;
        node = match;
    }
    return node;
}

String PathFromRoot(const TTreeNode* node)
{
    std::vector<const String*> texts;
    for (; node && node->Parent(); node = node->Parent())
        texts.push_back(&node->Text());
    String path = "C:";
    for (auto it = texts.rbegin(); it != texts.rend(); ++it)
        path.append("\\").append(**it);
    return path;
}

void CheckSplitHead(const String& typed)
{
    String rest = typed;
    String joined;
    bool first = true;
    std::size_t rounds = 0;
    for (;;) {
        const bool hadSeparator = rest.find('\\') != String::npos;
        const std::size_t before = rest.size();
        const String head = SplitHead(rest, '\\');
        FUZZ_CHECK(head.find('\\') == String::npos);
        FUZZ_CHECK(rest.size() + head.size() + (hadSeparator ? 1 : 0) == before);
        if (!first)
            joined.push_back('\\');
        joined += head;
        first = false;
        if (!hadSeparator)
            break;
        FUZZ_CHECK(++rounds <= typed.size());
    }
    FUZZ_CHECK(rest.empty());
    FUZZ_CHECK(joined == typed);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider input(data, size);
    TTreeNodes nodes;
    std::vector<TTreeNode*> all;
    all.push_back(nodes.AddObject(nullptr, "C 드라이브", nullptr));

    const std::size_t count = input.ConsumeIntegralInRange<std::size_t>(0, 64);
    for (std::size_t i = 0; i < count; ++i) {
        TTreeNode* parent = all[input.ConsumeIntegralInRange<std::size_t>(0, all.size() - 1)];
        String name = input.ConsumeBool()
                          ? String(kNames[input.ConsumeIntegralInRange<std::size_t>(0, std::size(kNames) - 1)])
                          : input.ConsumeRandomLengthString(12);
        all.push_back(nodes.AddChildObject(parent, name, nullptr));
    }
    const std::set<const TTreeNode*> inTree(all.begin(), all.end());

    String typed;
    if (input.ConsumeBool()) {
        // A real node's path, letter case changed here and there, with more
        // typed after it: walks that go deep.
        typed = PathFromRoot(all[input.ConsumeIntegralInRange<std::size_t>(0, all.size() - 1)]);
        for (char& c : typed)
            if (input.ConsumeBool() && ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')))
                c = static_cast<char>(c ^ 0x20);
        typed += input.ConsumeRemainingBytesAsString();
    } else {
        typed = input.ConsumeRemainingBytesAsString();
    }

    TTreeNode* reached = WalkAddress(typed, all.front(), SameIgnoringAsciiCase);
    FUZZ_CHECK(reached == nullptr || inTree.count(reached) == 1);
    FUZZ_CHECK(reached == ReferenceWalk(typed, all.front()));
    if (typed.find('\\') == String::npos)
        FUZZ_CHECK(reached == all.front());
    FUZZ_CHECK(WalkAddress(typed, static_cast<TTreeNode*>(nullptr), SameIgnoringAsciiCase) == nullptr);
    CheckSplitHead(typed);
    return 0;
}
