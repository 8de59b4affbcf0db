// GUID helpers for the board's own code.
#pragma once
#include <optional>
#include <string>

#include <Uefi/UefiBaseType.h>

namespace zub {

bool operator==(const EFI_GUID& a, const EFI_GUID& b);
std::string guidToString(const EFI_GUID& g);                       // registry format, upper case
std::optional<EFI_GUID> guidFromString(const std::string& text);   // registry format
std::optional<EFI_GUID> guidFromCInitializer(const std::string& text);  // {0x.., 0x.., 0x.., {..8..}}

}  // namespace zub
