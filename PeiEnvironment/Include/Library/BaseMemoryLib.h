/** @file
  Memory helpers.
**/
#ifndef BASE_MEMORY_LIB_H_
#define BASE_MEMORY_LIB_H_

#include <Uefi/UefiBaseType.h>

VOID *   EFIAPI CopyMem (OUT VOID *DestinationBuffer, IN CONST VOID *SourceBuffer, IN UINTN Length);
VOID *   EFIAPI SetMem (OUT VOID *Buffer, IN UINTN Length, IN UINT8 Value);
VOID *   EFIAPI SetMem32 (OUT VOID *Buffer, IN UINTN Length, IN UINT32 Value);
VOID *   EFIAPI ZeroMem (OUT VOID *Buffer, IN UINTN Length);
INTN     EFIAPI CompareMem (IN CONST VOID *DestinationBuffer, IN CONST VOID *SourceBuffer, IN UINTN Length);
BOOLEAN  EFIAPI CompareGuid (IN CONST EFI_GUID *Guid1, IN CONST EFI_GUID *Guid2);
EFI_GUID * EFIAPI CopyGuid (OUT EFI_GUID *DestinationGuid, IN CONST EFI_GUID *SourceGuid);
BOOLEAN  EFIAPI IsZeroBuffer (IN CONST VOID *Buffer, IN UINTN Length);

#endif
