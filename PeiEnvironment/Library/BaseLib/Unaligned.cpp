/** @file
  Unaligned little-endian reads and writes of the base library.

  The bytes are moved with the compiler's fixed-size copy (a single move on x86), so any
  address is allowed. EDK2 asserts on a NULL buffer; here a NULL read gives 0 and a NULL
  write does nothing (the value is still returned).
**/
#include <Library/BaseLib.h>

namespace {

template <typename T>
T
ReadAny (CONST VOID *Buffer)
{
  T  Value = 0;

  if (Buffer != NULL) {
    __builtin_memcpy (&Value, Buffer, sizeof (Value));
  }
  return Value;
}

template <typename T>
T
WriteAny (VOID *Buffer, T Value)
{
  if (Buffer != NULL) {
    __builtin_memcpy (Buffer, &Value, sizeof (Value));
  }
  return Value;
}

} // namespace

UINT16
EFIAPI
ReadUnaligned16 (
  IN CONST VOID  *Buffer
  )
{
  return ReadAny<UINT16> (Buffer);
}

UINT32
EFIAPI
ReadUnaligned32 (
  IN CONST VOID  *Buffer
  )
{
  return ReadAny<UINT32> (Buffer);
}

UINT64
EFIAPI
ReadUnaligned64 (
  IN CONST VOID  *Buffer
  )
{
  return ReadAny<UINT64> (Buffer);
}

UINT16
EFIAPI
WriteUnaligned16 (
  OUT VOID    *Buffer,
  IN  UINT16  Value
  )
{
  return WriteAny<UINT16> (Buffer, Value);
}

UINT32
EFIAPI
WriteUnaligned32 (
  OUT VOID    *Buffer,
  IN  UINT32  Value
  )
{
  return WriteAny<UINT32> (Buffer, Value);
}
