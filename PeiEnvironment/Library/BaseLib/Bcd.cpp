/** @file
  Binary-coded decimal conversions of the base library.

  As in EDK2, the input is expected to be valid (Value < 100 for DecimalToBcd8, both
  nibbles below 10 for BcdToDecimal8); EDK2 asserts otherwise, these return the same
  arithmetic result truncated to 8 bits and never fault.
**/
#include <Library/BaseLib.h>

UINT8
EFIAPI
DecimalToBcd8 (
  IN UINT8  Value
  )
{
  return (UINT8)(((Value / 10) << 4) | (Value % 10));
}

UINT8
EFIAPI
BcdToDecimal8 (
  IN UINT8  Value
  )
{
  return (UINT8)((Value >> 4) * 10 + (Value & 0x0F));
}
