/** @file
  Slots of the volatile store. The BMC writes them directly into video memory, so every
  read is checked against the slot's magic, GUID and CRC-32 before its data is used.
**/
#include "VolatileSlots.h"

#include <Library/BaseMemoryLib.h>
#include <Library/Crc32Lib.h>
#include <Library/DebugLib.h>
#include <Library/IoLib.h>
#include <Library/PcdLib.h>

#define STORE_SPAN  228   // the seven slots, back to back

CONST VOLATILE_SLOT  mVolatileSlots[VOLATILE_SLOT_COUNT] = {
  { 0,   44, 0x1E2D3C4F, { 0xD8D9E4BA, 0x685F, 0x4088, { 0xB5, 0xF7, 0x5C, 0x77, 0x9C, 0x23, 0xC7, 0x8C } } },
  { 44,  28, 0x22221111, { 0xF9B45059, 0xF369, 0x4231, { 0x9A, 0x6E, 0xD5, 0x5F, 0x47, 0x1D, 0x2A, 0x05 } } },
  { 72,  28, 0x76BA1259, { 0x96544300, 0xFE73, 0x4A67, { 0xBB, 0x50, 0x77, 0x4E, 0xDD, 0xC6, 0x86, 0x59 } } },
  { 100, 28, 0xC62A2F61, { 0x77D2DC81, 0x72CF, 0x42B8, { 0xAD, 0x79, 0x05, 0x6D, 0x4B, 0xDA, 0xBD, 0x3E } } },
  { 128, 40, 0x1E2BC145, { 0x363F47B6, 0x0965, 0x4823, { 0xB8, 0x24, 0xF0, 0x41, 0x1D, 0x94, 0xF6, 0x12 } } },
  { 168, 28, 0xBCC34187, { 0xAB4E9308, 0x4217, 0x4B2D, { 0x8C, 0xFF, 0xC0, 0x86, 0x7D, 0xAC, 0x0B, 0x1D } } },
  { 196, 32, 0x211D0432, { 0xC79C4423, 0x2820, 0x4431, { 0xA6, 0x6C, 0xBD, 0x9C, 0x87, 0x56, 0x0F, 0x87 } } },
};

STATIC_ASSERT (STORE_SPAN <= VOLATILE_STORE_CLEAR_SIZE, "the wiped range covers every slot");

UINT8 *
VolatileStoreBase (
  VOID
  )
{
  UINT32  Base = PcdGet32 (PcdZubVgaMemoryBase);
  UINT32  Size = PcdGet32 (PcdZubVgaMemorySize);

  // Before the VGA bring-up (or after it failed) there is no video memory to hold a store.
  if ((Base == 0) || (Size < VOLATILE_STORE_END_OFFSET)) {
    return NULL;
  }
  return (UINT8 *)PhysicalAddressToPointer ((UINT64)Base + Size - VOLATILE_STORE_END_OFFSET, VOLATILE_STORE_CLEAR_SIZE);
}

STATIC BOOLEAN
ValidIndex (
  IN INT32  Index
  )
{
  return (BOOLEAN)((Index >= 0) && (Index < VOLATILE_SLOT_COUNT));
}

EFI_STATUS EFIAPI
ReadSlot (
  IN VGA_VOLATILE_PPI  *This,
  IN UINT8             Clear,
  IN INT32             Index,
  IN UINT32            DataSize,
  OUT VOID             *Buffer
  )
{
  CONST VOLATILE_SLOT   *Slot;
  UINT8                 *Store;
  VOLATILE_SLOT_HEADER  *Record;
  UINT32                Crc;

  if (!ValidIndex (Index) || (Buffer == NULL)) {
    DEBUG ((DEBUG_ERROR, "%d %p\n", Index, Buffer));
    return EFI_INVALID_PARAMETER;
  }
  Slot = &mVolatileSlots[Index];
  if ((UINT64)DataSize + sizeof (VOLATILE_SLOT_HEADER) != Slot->Size) {
    DEBUG ((DEBUG_ERROR, "Invalid buf size %d %lu %u\n", Index, (UINT64)DataSize, Slot->Size));
    return EFI_INVALID_PARAMETER;
  }
  Store = VolatileStoreBase ();
  if (Store == NULL) {
    return EFI_NOT_READY;
  }
  Record = (VOLATILE_SLOT_HEADER *)(Store + Slot->Offset);
  if ((Record->Magic != Slot->Magic) || !CompareGuid (&Record->Guid, &Slot->Guid)) {
    DEBUG ((DEBUG_ERROR, "Invalid magic or guid %d 0x%08X 0x%08X %g %g\n", Index, Record->Magic, Slot->Magic,
            &Record->Guid, &Slot->Guid));
    return EFI_CRC_ERROR;
  }
  Crc = CalculateCrc32 ((UINT8 *)Record + sizeof (UINT32), Slot->Size - sizeof (UINT32));
  if (Crc != Record->Crc32) {
    DEBUG ((DEBUG_ERROR, "Invalid crc32 %d calc:0x%08X read:0x%08X\n", Index, Crc, Record->Crc32));
    return EFI_CRC_ERROR;
  }
  if (DataSize != 0) {
    CopyMem (Buffer, Record + 1, DataSize);
  }
  if (Clear != 0) {
    ZeroMem (Record, Slot->Size);
  }
  return EFI_SUCCESS;
}

EFI_STATUS EFIAPI
WriteSlot (
  IN VGA_VOLATILE_PPI  *This,
  IN INT32             Index,
  IN VOID              *Buffer
  )
{
  CONST VOLATILE_SLOT   *Slot;
  UINT8                 *Store;
  VOLATILE_SLOT_HEADER  *Record;

  if (!ValidIndex (Index) || (Buffer == NULL)) {
    DEBUG ((DEBUG_ERROR, "%d %p\n", Index, Buffer));
    return EFI_INVALID_PARAMETER;
  }
  Store = VolatileStoreBase ();
  if (Store == NULL) {
    return EFI_NOT_READY;
  }
  Slot   = &mVolatileSlots[Index];
  Record = (VOLATILE_SLOT_HEADER *)(Store + Slot->Offset);
  Record->Magic = Slot->Magic;
  CopyGuid (&Record->Guid, &Slot->Guid);
  CopyMem (Record + 1, Buffer, Slot->Size - sizeof (VOLATILE_SLOT_HEADER));
  Record->Crc32 = CalculateCrc32 ((UINT8 *)Record + sizeof (UINT32), Slot->Size - sizeof (UINT32));
  return EFI_SUCCESS;
}

EFI_STATUS EFIAPI
ClearSlot (
  IN VGA_VOLATILE_PPI  *This,
  IN INT32             Index
  )
{
  UINT8  *Store;

  if (!ValidIndex (Index)) {
    DEBUG ((DEBUG_ERROR, "%d\n", Index));
    return EFI_INVALID_PARAMETER;
  }
  Store = VolatileStoreBase ();
  if (Store == NULL) {
    return EFI_NOT_READY;
  }
  ZeroMem (Store + mVolatileSlots[Index].Offset, mVolatileSlots[Index].Size);
  return EFI_SUCCESS;
}
