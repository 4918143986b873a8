#pragma once
#include <string_view>

// The bytes of an RCDATA resource of the executable; throws Exception when absent.
std::string_view LoadTextResource(const wchar_t* name);
