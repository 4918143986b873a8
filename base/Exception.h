#pragma once
#include "base/Text.h"

#include <stdexcept>

// The framework's exception: what its error box shows is Message().
class Exception : public std::runtime_error {
public:
    explicit Exception(const String& message) : std::runtime_error(message) {}
    String Message() const { return what(); }
};
