/** @file
  Debug messages and assertions through the platform's debug print service.

  A message is passed on only when its level shares a bit with the fixed mask
  0x80000046; an assertion is reported and execution goes on.
**/
#ifndef DEBUG_LIB_H_
#define DEBUG_LIB_H_

#include <Uefi/UefiBaseType.h>

#define DEBUG_INIT      0x00000001u
#define DEBUG_WARN      0x00000002u
#define DEBUG_LOAD      0x00000004u
#define DEBUG_FS        0x00000008u
#define DEBUG_INFO      0x00000040u
#define DEBUG_VERBOSE   0x00400000u
#define DEBUG_ERROR     0x80000000u

#define DEBUG_PRINT_ERROR_LEVEL_MASK  0x80000046u

VOID    EFIAPI DebugPrint (IN UINTN ErrorLevel, IN CONST CHAR8 *Format, ...);
VOID    EFIAPI DebugVPrint (IN UINTN ErrorLevel, IN CONST CHAR8 *Format, IN VA_LIST Marker);
VOID    EFIAPI DebugAssert (IN CONST CHAR8 *FileName, IN UINTN LineNumber, IN CONST CHAR8 *Description);
BOOLEAN EFIAPI DebugPrintLevelEnabled (IN UINTN ErrorLevel);

#define _DEBUG_PRINT(Level, ...) \
  do { if (DebugPrintLevelEnabled (Level)) { DebugPrint (Level, __VA_ARGS__); } } while (FALSE)
#define DEBUG(Expression)  _DEBUG_PRINT Expression

#define ASSERT(Expression) \
  do { if (!(Expression)) { DebugAssert (__FILE__, __LINE__, #Expression); } } while (FALSE)
#define ASSERT_EFI_ERROR(StatusParameter) \
  do { if (EFI_ERROR (StatusParameter)) { DebugAssert (__FILE__, __LINE__, "!EFI_ERROR (" #StatusParameter ")"); } } while (FALSE)

#endif
