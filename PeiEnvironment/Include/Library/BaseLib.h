/** @file
  Base library: strings, CPU instructions and dead loop.
**/
#ifndef BASE_LIB_H_
#define BASE_LIB_H_

#include <Uefi/UefiBaseType.h>

#pragma pack(push, 1)
typedef struct {
  UINT16  Limit;
  UINTN   Base;
} IA32_DESCRIPTOR;
#pragma pack(pop)

extern "C" {
//
// CPU instructions, implemented by the machine library.
//
UINT32  EFIAPI AsmCpuid (IN UINT32 Index, OUT UINT32 *Eax OPTIONAL, OUT UINT32 *Ebx OPTIONAL,
                         OUT UINT32 *Ecx OPTIONAL, OUT UINT32 *Edx OPTIONAL);
UINT32  EFIAPI AsmCpuidEx (IN UINT32 Index, IN UINT32 SubIndex, OUT UINT32 *Eax OPTIONAL,
                           OUT UINT32 *Ebx OPTIONAL, OUT UINT32 *Ecx OPTIONAL, OUT UINT32 *Edx OPTIONAL);
UINT64  EFIAPI AsmReadMm7 (VOID);
VOID    EFIAPI AsmReadIdtr (OUT IA32_DESCRIPTOR *Idtr);
[[noreturn]] VOID EFIAPI CpuDeadLoop (VOID);
}

UINTN    EFIAPI AsciiStrLen (IN CONST CHAR8 *String);
UINTN    EFIAPI AsciiStrnLenS (IN CONST CHAR8 *String, IN UINTN MaxSize);
INTN     EFIAPI AsciiStrCmp (IN CONST CHAR8 *FirstString, IN CONST CHAR8 *SecondString);
INTN     EFIAPI AsciiStrnCmp (IN CONST CHAR8 *FirstString, IN CONST CHAR8 *SecondString, IN UINTN Length);
RETURN_STATUS EFIAPI AsciiStrCpyS (OUT CHAR8 *Destination, IN UINTN DestMax, IN CONST CHAR8 *Source);
RETURN_STATUS EFIAPI AsciiStrnCpyS (OUT CHAR8 *Destination, IN UINTN DestMax, IN CONST CHAR8 *Source, IN UINTN Length);
RETURN_STATUS EFIAPI AsciiStrCatS (IN OUT CHAR8 *Destination, IN UINTN DestMax, IN CONST CHAR8 *Source);
UINTN    EFIAPI StrLen (IN CONST CHAR16 *String);
UINTN    EFIAPI StrnLenS (IN CONST CHAR16 *String, IN UINTN MaxSize);
INTN     EFIAPI StrCmp (IN CONST CHAR16 *FirstString, IN CONST CHAR16 *SecondString);
UINTN    EFIAPI StrSize (IN CONST CHAR16 *String);
UINT8    EFIAPI DecimalToBcd8 (IN UINT8 Value);
UINT8    EFIAPI BcdToDecimal8 (IN UINT8 Value);
UINT16   EFIAPI ReadUnaligned16 (IN CONST VOID *Buffer);
UINT32   EFIAPI ReadUnaligned32 (IN CONST VOID *Buffer);
UINT64   EFIAPI ReadUnaligned64 (IN CONST VOID *Buffer);
UINT16   EFIAPI WriteUnaligned16 (OUT VOID *Buffer, IN UINT16 Value);
UINT32   EFIAPI WriteUnaligned32 (OUT VOID *Buffer, IN UINT32 Value);

#endif
