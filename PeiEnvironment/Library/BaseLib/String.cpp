/** @file
  ASCII and UCS-2 string functions of the base library, EDK2 semantics.

  The safe-string functions (AsciiStrCpyS, AsciiStrnCpyS, AsciiStrCatS) check their
  arguments in EDK2's order and return, without touching the destination:
  - RETURN_INVALID_PARAMETER: Destination or Source NULL, DestMax 0, or DestMax (or
    Length) above ASCII_RSIZE_MAX (EDK2's default PcdMaximumAsciiStringLength, 1000000);
  - RETURN_BAD_BUFFER_SIZE (AsciiStrCatS only): Destination has no NUL in DestMax;
  - RETURN_BUFFER_TOO_SMALL: the result and its NUL do not fit in DestMax characters;
  - RETURN_ACCESS_DENIED: Source overlaps the destination buffer.
  On success the destination is NUL-terminated and nothing beyond DestMax is written.

  Where EDK2 only ASSERTs (NULL strings in the non-safe functions), these functions do
  not fault: a NULL string has length 0 and compares as the empty string. Comparisons
  compare characters as unsigned values (CHAR8 as UINT8), as the C library does.
**/
#include <Library/BaseLib.h>

namespace {

/// EDK2's default PcdMaximumAsciiStringLength: the largest DestMax a safe function takes.
constexpr UINTN ASCII_RSIZE_MAX = 1000000;

/// EDK2's InternalSafeStringIsOverlap: do [Base1, Base1 + Size1) and [Base2, Base2 + Size2) meet?
BOOLEAN
IsOverlap (CONST VOID *Base1, UINTN Size1, CONST VOID *Base2, UINTN Size2)
{
  UINTN  A = (UINTN)Base1;
  UINTN  B = (UINTN)Base2;

  if (((A >= B) && (A - B < Size2)) || ((B >= A) && (B - A < Size1))) {
    return TRUE;
  }
  return FALSE;
}

template <typename CharT>
UINTN
InternalLen (CONST CharT *String)
{
  UINTN  Length = 0;

  if (String == NULL) {
    return 0;
  }
  while (String[Length] != 0) {
    Length++;
  }
  return Length;
}

template <typename CharT>
UINTN
InternalnLenS (CONST CharT *String, UINTN MaxSize)
{
  UINTN  Length = 0;

  if ((String == NULL) || (MaxSize == 0)) {
    return 0;
  }
  while (String[Length] != 0) {
    if (Length >= MaxSize - 1) {
      return MaxSize;
    }
    Length++;
  }
  return Length;
}

/// Unsigned value of a character, for comparisons.
inline UINTN
CharValue (CHAR8 Ch)
{
  return (UINT8)Ch;
}

inline UINTN
CharValue (CHAR16 Ch)
{
  return (UINT16)Ch;
}

template <typename CharT>
INTN
InternalCmp (CONST CharT *First, CONST CharT *Second, UINTN Length)
{
  static constexpr CharT  Empty[1] = { 0 };

  if (Length == 0) {
    return 0;
  }
  if (First == NULL) {
    First = Empty;
  }
  if (Second == NULL) {
    Second = Empty;
  }
  while ((*First != 0) && (*First == *Second) && (Length > 1)) {
    First++;
    Second++;
    Length--;
  }
  return (INTN)CharValue (*First) - (INTN)CharValue (*Second);
}

} // namespace

UINTN
EFIAPI
AsciiStrLen (
  IN CONST CHAR8  *String
  )
{
  return InternalLen (String);
}

UINTN
EFIAPI
AsciiStrnLenS (
  IN CONST CHAR8  *String,
  IN UINTN        MaxSize
  )
{
  return InternalnLenS (String, MaxSize);
}

INTN
EFIAPI
AsciiStrCmp (
  IN CONST CHAR8  *FirstString,
  IN CONST CHAR8  *SecondString
  )
{
  return InternalCmp (FirstString, SecondString, MAX_UINTN);
}

INTN
EFIAPI
AsciiStrnCmp (
  IN CONST CHAR8  *FirstString,
  IN CONST CHAR8  *SecondString,
  IN UINTN        Length
  )
{
  return InternalCmp (FirstString, SecondString, Length);
}

RETURN_STATUS
EFIAPI
AsciiStrCpyS (
  OUT CHAR8        *Destination,
  IN  UINTN        DestMax,
  IN  CONST CHAR8  *Source
  )
{
  UINTN  SourceLen;

  if ((Destination == NULL) || (Source == NULL) || (DestMax > ASCII_RSIZE_MAX) || (DestMax == 0)) {
    return RETURN_INVALID_PARAMETER;
  }
  SourceLen = AsciiStrnLenS (Source, DestMax);
  if (DestMax <= SourceLen) {
    return RETURN_BUFFER_TOO_SMALL;
  }
  if (IsOverlap (Destination, DestMax, Source, SourceLen + 1)) {
    return EFI_ACCESS_DENIED;
  }
  for (UINTN Index = 0; Index < SourceLen; Index++) {
    Destination[Index] = Source[Index];
  }
  Destination[SourceLen] = 0;
  return RETURN_SUCCESS;
}

RETURN_STATUS
EFIAPI
AsciiStrnCpyS (
  OUT CHAR8        *Destination,
  IN  UINTN        DestMax,
  IN  CONST CHAR8  *Source,
  IN  UINTN        Length
  )
{
  UINTN  SourceLen;

  if ((Destination == NULL) || (Source == NULL) || (DestMax > ASCII_RSIZE_MAX) ||
      (Length > ASCII_RSIZE_MAX) || (DestMax == 0))
  {
    return RETURN_INVALID_PARAMETER;
  }
  //
  // At most Length characters are copied; the copy only has to fit when it is not cut
  // short by Length, i.e. when Length >= DestMax (EDK2's rule).
  //
  SourceLen = AsciiStrnLenS (Source, MIN (DestMax, Length));
  if ((Length >= DestMax) && (DestMax <= SourceLen)) {
    return RETURN_BUFFER_TOO_SMALL;
  }
  if (SourceLen > Length) {
    SourceLen = Length;
  }
  if (IsOverlap (Destination, DestMax, Source, SourceLen + 1)) {
    return EFI_ACCESS_DENIED;
  }
  for (UINTN Index = 0; Index < SourceLen; Index++) {
    Destination[Index] = Source[Index];
  }
  Destination[SourceLen] = 0;
  return RETURN_SUCCESS;
}

RETURN_STATUS
EFIAPI
AsciiStrCatS (
  IN OUT CHAR8        *Destination,
  IN     UINTN        DestMax,
  IN     CONST CHAR8  *Source
  )
{
  UINTN  DestLen;
  UINTN  CopyLen;
  UINTN  SourceLen;

  if ((Destination == NULL) || (Source == NULL) || (DestMax > ASCII_RSIZE_MAX) || (DestMax == 0)) {
    return RETURN_INVALID_PARAMETER;
  }
  DestLen = AsciiStrnLenS (Destination, DestMax);
  CopyLen = DestMax - DestLen;
  if (CopyLen == 0) {
    return EFI_BAD_BUFFER_SIZE;
  }
  SourceLen = AsciiStrnLenS (Source, CopyLen);
  if (CopyLen <= SourceLen) {
    return RETURN_BUFFER_TOO_SMALL;
  }
  if (IsOverlap (Destination, DestMax, Source, SourceLen + 1)) {
    return EFI_ACCESS_DENIED;
  }
  for (UINTN Index = 0; Index < SourceLen; Index++) {
    Destination[DestLen + Index] = Source[Index];
  }
  Destination[DestLen + SourceLen] = 0;
  return RETURN_SUCCESS;
}

UINTN
EFIAPI
StrLen (
  IN CONST CHAR16  *String
  )
{
  return InternalLen (String);
}

UINTN
EFIAPI
StrnLenS (
  IN CONST CHAR16  *String,
  IN UINTN         MaxSize
  )
{
  return InternalnLenS (String, MaxSize);
}

INTN
EFIAPI
StrCmp (
  IN CONST CHAR16  *FirstString,
  IN CONST CHAR16  *SecondString
  )
{
  return InternalCmp (FirstString, SecondString, MAX_UINTN);
}

/**
  Size in bytes of a UCS-2 string with its NUL; 0 for a NULL string (where EDK2 asserts).
**/
UINTN
EFIAPI
StrSize (
  IN CONST CHAR16  *String
  )
{
  if (String == NULL) {
    return 0;
  }
  return (StrLen (String) + 1) * sizeof (CHAR16);
}
