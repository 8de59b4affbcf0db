/** @file
  Memory helpers of the PEI environment, EDK2 BaseMemoryLib semantics.

  - CopyMem handles overlapping buffers (it behaves like memmove).
  - SetMem32 fills Length / 4 whole UINT32 copies of Value; EDK2 requires Length to be a
    multiple of 4 (and asserts), here the remaining 1-3 bytes are left untouched. The
    buffer does not have to be 32-bit aligned.
  - CompareMem returns 0 when equal, otherwise the difference of the first differing
    bytes taken as UINT8 (positive when the destination byte is larger).
  - CompareGuid is FALSE when either pointer is NULL (EDK2 would fault); IsZeroBuffer is
    TRUE for Length 0 and FALSE for a NULL buffer with Length > 0.
  - Length 0 is always allowed and touches nothing; NULL with Length 0 is allowed too.
  The compiler may turn the byte loops into calls of memcpy / memset; images may import
  those.
**/
#include <Library/BaseMemoryLib.h>

VOID *
EFIAPI
CopyMem (
  OUT VOID       *DestinationBuffer,
  IN  CONST VOID *SourceBuffer,
  IN  UINTN      Length
  )
{
  UINT8        *Destination = (UINT8 *)DestinationBuffer;
  CONST UINT8  *Source      = (CONST UINT8 *)SourceBuffer;
  UINTN        Dest         = (UINTN)DestinationBuffer;
  UINTN        Src          = (UINTN)SourceBuffer;

  if ((Length == 0) || (Destination == Source) || (Destination == NULL) || (Source == NULL)) {
    return DestinationBuffer;
  }
  if ((Dest - Src >= Length) && (Src - Dest >= Length)) {
    //
    // Disjoint buffers.
    //
    __builtin_memcpy (Destination, Source, Length);
  } else if (Dest < Src) {
    //
    // Overlap with the destination below the source: copy upwards.
    //
    for (UINTN Index = 0; Index < Length; Index++) {
      Destination[Index] = Source[Index];
    }
  } else {
    //
    // Overlap with the destination above the source: copy downwards.
    //
    for (UINTN Index = Length; Index > 0; Index--) {
      Destination[Index - 1] = Source[Index - 1];
    }
  }
  return DestinationBuffer;
}

VOID *
EFIAPI
SetMem (
  OUT VOID   *Buffer,
  IN  UINTN  Length,
  IN  UINT8  Value
  )
{
  if ((Buffer != NULL) && (Length != 0)) {
    __builtin_memset (Buffer, Value, Length);
  }
  return Buffer;
}

VOID *
EFIAPI
SetMem32 (
  OUT VOID    *Buffer,
  IN  UINTN   Length,
  IN  UINT32  Value
  )
{
  UINT8  *Bytes = (UINT8 *)Buffer;

  if (Buffer == NULL) {
    return Buffer;
  }
  for (UINTN Index = 0; Index < Length / sizeof (UINT32); Index++) {
    __builtin_memcpy (Bytes + Index * sizeof (UINT32), &Value, sizeof (UINT32));
  }
  return Buffer;
}

VOID *
EFIAPI
ZeroMem (
  OUT VOID   *Buffer,
  IN  UINTN  Length
  )
{
  return SetMem (Buffer, Length, 0);
}

INTN
EFIAPI
CompareMem (
  IN CONST VOID  *DestinationBuffer,
  IN CONST VOID  *SourceBuffer,
  IN UINTN       Length
  )
{
  CONST UINT8  *Destination = (CONST UINT8 *)DestinationBuffer;
  CONST UINT8  *Source      = (CONST UINT8 *)SourceBuffer;

  if ((Length == 0) || (Destination == Source)) {
    return 0;
  }
  for (UINTN Index = 0; Index < Length; Index++) {
    if (Destination[Index] != Source[Index]) {
      return (INTN)Destination[Index] - (INTN)Source[Index];
    }
  }
  return 0;
}

BOOLEAN
EFIAPI
CompareGuid (
  IN CONST EFI_GUID  *Guid1,
  IN CONST EFI_GUID  *Guid2
  )
{
  if ((Guid1 == NULL) || (Guid2 == NULL)) {
    return FALSE;
  }
  return (BOOLEAN)(CompareMem (Guid1, Guid2, sizeof (EFI_GUID)) == 0);
}

EFI_GUID *
EFIAPI
CopyGuid (
  OUT EFI_GUID       *DestinationGuid,
  IN  CONST EFI_GUID *SourceGuid
  )
{
  return (EFI_GUID *)CopyMem (DestinationGuid, SourceGuid, sizeof (EFI_GUID));
}

BOOLEAN
EFIAPI
IsZeroBuffer (
  IN CONST VOID  *Buffer,
  IN UINTN       Length
  )
{
  CONST UINT8  *Bytes = (CONST UINT8 *)Buffer;

  if (Length == 0) {
    return TRUE;
  }
  if (Bytes == NULL) {
    return FALSE;
  }
  for (UINTN Index = 0; Index < Length; Index++) {
    if (Bytes[Index] != 0) {
      return FALSE;
    }
  }
  return TRUE;
}
