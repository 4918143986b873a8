#pragma once
// The address bar's path walked through the folder tree, one
// backslash-separated component at a time. Needs no platform call.
#include "base/Text.h"

// Cuts the text up to the first separator off `text` and answers it; the
// separator goes too. Without a separator the whole text is the head.
String SplitHead(String& text, char separator);

// The node that `typed` leads to from `root`: the first component (the
// drive) is discarded unseen, an empty component ends the walk where it is,
// a component that matches no child ends it without a node (null).
// `sameName(nodeText, component)` decides a match.
template <class Node, class SameName>
Node* WalkAddress(String typed, Node* root, SameName&& sameName)
{
    SplitHead(typed, '\\');
    Node* current = root;
    while (current) {
        const String component = SplitHead(typed, '\\');
        if (component.empty())
            break;
        Node* match = nullptr;
        for (Node* child = current->getFirstChild(); child && !match; child = child->getNextSibling())
            if (sameName(child->Text(), component))
                match = child;
        current = match;
    }
    return current;
}
