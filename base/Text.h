#pragma once
// The framework string: UTF-8 bytes in a std::string. Every text that
// crosses to the platform is converted in WideText.cpp, nowhere else.
#include <string>
#include <string_view>

using String = std::string;

// Bytes of the longest prefix of `text` that is at most `maxBytes` long and
// does not end inside a UTF-8 sequence.
std::size_t Utf8PrefixLength(std::string_view text, std::size_t maxBytes) noexcept;

// Bytes of `text` without an incomplete UTF-8 sequence at its end, as left
// by cutting a longer text.
std::size_t Utf8CompleteLength(std::string_view text) noexcept;
