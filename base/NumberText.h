#pragma once
// Number texts of the framework that need no platform call.
#include "base/Text.h"

#include <cstdint>

// Upper-case hexadecimal with at least `digits` digits, zero-padded. The
// padding stops at 32 digits, so a wild count cannot make a huge text.
String IntToHex(std::uint32_t value, int digits);
