/** @file
  The slot table and the three slot operations of the volatile store.
**/
#ifndef VOLATILE_SLOTS_H_
#define VOLATILE_SLOTS_H_

#include <PiPei.h>
#include <Ppi/VgaVolatile.h>

typedef struct {
  UINT32    Offset;
  UINT32    Size;
  UINT32    Magic;
  EFI_GUID  Guid;
} VOLATILE_SLOT;

extern CONST VOLATILE_SLOT  mVolatileSlots[VOLATILE_SLOT_COUNT];

// The store as mapped video memory, or NULL while video memory is not set up.
UINT8 *VolatileStoreBase (VOID);

EFI_STATUS EFIAPI ReadSlot (IN VGA_VOLATILE_PPI *This, IN UINT8 Clear, IN INT32 Index, IN UINT32 DataSize, OUT VOID *Buffer);
EFI_STATUS EFIAPI WriteSlot (IN VGA_VOLATILE_PPI *This, IN INT32 Index, IN VOID *Buffer);
EFI_STATUS EFIAPI ClearSlot (IN VGA_VOLATILE_PPI *This, IN INT32 Index);

#endif
