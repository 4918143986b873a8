#pragma once
// What the stand-in WinINet and the driver that plants it agree on.

// The file the stand-in leaves beside itself once it is loaded.
constexpr wchar_t kPlantedMarker[] = L"planted-wininet-loaded";
