#include "browser/AddressWalk.h"

#include <utility>

String SplitHead(String& text, char separator)
{
    const std::size_t at = text.find(separator);
    if (at == String::npos)
        return std::exchange(text, String());
    String head = text.substr(0, at);
    text.erase(0, at + 1);
    return head;
}
