/** @file
  Print library with the EDK2 conventions.

  Conversions: %a ASCII string, %s UCS-2 string, %c character, %d %u decimal, %x lower-
  and %X upper-case hexadecimal, %p pointer, %g GUID (registry format, upper case), %r
  EFI_STATUS text, %% percent. Flags: '-' left-justify, '0' zero-pad, a width (digits or
  '*'), '.' precision for strings, 'l'/'L' 64-bit argument. Output is limited by the
  buffer size in bytes, always NUL-terminated, and the functions return the number of
  characters written without the NUL.
**/
#ifndef PRINT_LIB_H_
#define PRINT_LIB_H_

#include <Uefi/UefiBaseType.h>

UINTN EFIAPI AsciiSPrint (OUT CHAR8 *StartOfBuffer, IN UINTN BufferSize, IN CONST CHAR8 *FormatString, ...);
UINTN EFIAPI AsciiVSPrint (OUT CHAR8 *StartOfBuffer, IN UINTN BufferSize, IN CONST CHAR8 *FormatString, IN VA_LIST Marker);
UINTN EFIAPI UnicodeSPrintAsciiFormat (OUT CHAR16 *StartOfBuffer, IN UINTN BufferSize, IN CONST CHAR8 *FormatString, ...);
UINTN EFIAPI UnicodeVSPrintAsciiFormat (OUT CHAR16 *StartOfBuffer, IN UINTN BufferSize, IN CONST CHAR8 *FormatString, IN VA_LIST Marker);

#endif
