/** @file
  VGA-memory volatile store: seven CRC-checked slots in the third megabyte from the end
  of video memory, a mailbox between the BMC and the firmware that survives warm resets.
**/
#ifndef VGA_VOLATILE_H_
#define VGA_VOLATILE_H_

#include <PiPei.h>

#define VOLATILE_STORE_END_OFFSET   0x300000   // the store begins this far below the end of video memory
#define VOLATILE_STORE_CLEAR_SIZE   0x10000    // wiped after an AC power loss
#define VOLATILE_SLOT_COUNT         7

#pragma pack(push, 1)
typedef struct {
  UINT32    Crc32;    // over Magic, Guid and the data
  UINT32    Magic;
  EFI_GUID  Guid;
} VOLATILE_SLOT_HEADER;
#pragma pack(pop)

STATIC_ASSERT (sizeof (VOLATILE_SLOT_HEADER) == 24, "a slot's data follows a 24-byte header");

typedef struct _VGA_VOLATILE_PPI VGA_VOLATILE_PPI;

typedef EFI_STATUS (EFIAPI *VGA_VOLATILE_READ_SLOT)(
  IN VGA_VOLATILE_PPI *This, IN UINT8 Clear, IN INT32 Index, IN UINT32 DataSize, OUT VOID *Buffer);
typedef EFI_STATUS (EFIAPI *VGA_VOLATILE_WRITE_SLOT)(IN VGA_VOLATILE_PPI *This, IN INT32 Index, IN VOID *Buffer);
typedef EFI_STATUS (EFIAPI *VGA_VOLATILE_CLEAR_SLOT)(IN VGA_VOLATILE_PPI *This, IN INT32 Index);

struct _VGA_VOLATILE_PPI {
  VGA_VOLATILE_READ_SLOT   ReadSlot;
  VGA_VOLATILE_WRITE_SLOT  WriteSlot;
  VGA_VOLATILE_CLEAR_SLOT  ClearSlot;
};

extern EFI_GUID gVgaVolatilePpiGuid;

#endif
