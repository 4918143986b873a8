#pragma once
// What the tests read off the folder browser's tree and list.
#include "browser/SearchWindow.h"

#include <vector>

// The first child of `parent` with the text, null when there is none.
inline TTreeNode* Child(const TTreeNode* parent, const String& text)
{
    for (TTreeNode* n = parent ? parent->getFirstChild() : nullptr; n; n = n->getNextSibling())
        if (n->Text() == text)
            return n;
    return nullptr;
}

inline String PathOf(const TTreeNode* node)
{
    return node && node->Data ? static_cast<const TTreeDataSearch*>(node->Data)->Path : String("<none>");
}

inline std::vector<String> ChildTexts(const TTreeNode* node)
{
    std::vector<String> texts;
    for (const TTreeNode* n = node ? node->getFirstChild() : nullptr; n; n = n->getNextSibling())
        texts.push_back(n->Text());
    return texts;
}

inline std::vector<String> Captions(const TListView& list)
{
    std::vector<String> captions;
    for (int i = 0; i < list.Items.Count(); ++i)
        captions.push_back(list.Items[i].Caption);
    return captions;
}
