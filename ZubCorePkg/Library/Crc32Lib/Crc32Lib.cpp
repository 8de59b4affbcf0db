/** @file
  IEEE 802.3 CRC-32: reflected polynomial 0xEDB88320, initial value and final XOR
  0xFFFFFFFF (the CRC of zlib, Ethernet and PNG; check value of "123456789" is
  0xCBF43926). Table driven, one byte per step; the 256-entry table is constant data
  computed at compile time. A NULL buffer or a zero length gives 0.
**/
#include <Library/Crc32Lib.h>

namespace {

constexpr UINT32  CRC32_POLYNOMIAL = 0xEDB88320u;

struct CRC32_TABLE {
  UINT32    Entry[256];
};

constexpr CRC32_TABLE
MakeCrc32Table (VOID)
{
  CRC32_TABLE  Table = {};

  for (UINT32 Index = 0; Index < 256; Index++) {
    UINT32  Value = Index;
    for (UINT32 Bit = 0; Bit < 8; Bit++) {
      Value = ((Value & 1) != 0) ? ((Value >> 1) ^ CRC32_POLYNOMIAL) : (Value >> 1);
    }
    Table.Entry[Index] = Value;
  }
  return Table;
}

constexpr CRC32_TABLE  mCrc32Table = MakeCrc32Table ();

static_assert (mCrc32Table.Entry[1] == 0x77073096u, "CRC-32 table");
static_assert (mCrc32Table.Entry[255] == 0x2D02EF8Du, "CRC-32 table");

} // namespace

UINT32
EFIAPI
CalculateCrc32 (
  IN CONST VOID  *Buffer,
  IN UINTN       Length
  )
{
  CONST UINT8  *Bytes = (CONST UINT8 *)Buffer;
  UINT32       Crc    = 0xFFFFFFFFu;

  if ((Buffer == NULL) || (Length == 0)) {
    return 0;
  }
  for (UINTN Index = 0; Index < Length; Index++) {
    Crc = mCrc32Table.Entry[(Crc ^ Bytes[Index]) & 0xFF] ^ (Crc >> 8);
  }
  return Crc ^ 0xFFFFFFFFu;
}
