/** @file
  VramStorePei: after an AC power loss the store in video memory holds garbage and is
  wiped; otherwise the values the BMC left (boot option, debug-mode request, option
  words) are taken over. Then the store is offered to other PEIMs through the PPI.
**/
#include "VolatileSlots.h"

#include <Library/BaseMemoryLib.h>
#include <Library/DebugLib.h>
#include <Library/IoLib.h>
#include <Library/PcdLib.h>
#include <Library/PciExpressLib.h>
#include <Library/PeiServicesLib.h>

#define PMC_GEN_PMCON_B       PCI_EXPRESS_LIB_ADDRESS (0, 31, 2, 0xA4)
#define PMC_PWR_FLR           BIT1
#define CMOS_UPPER_INDEX      0x72
#define CMOS_UPPER_DATA       0x73
#define CMOS_DEBUG_MODE       0x54
#define DEBUG_MODE_MASK       (BIT1 | BIT0)
#define DEBUG_MODE_OPEN       BIT0
#define DEBUG_MODE_REQUEST    0x7A5B9C6Du

#pragma pack(push, 1)
typedef struct {
  EFI_GUID  Guid;
  UINT32    BootOption;
} BMC_BOOT_OPTION_SLOT;
#pragma pack(pop)

STATIC CONST EFI_GUID  mBmcBootOptionGuid = {
  0x545E2334, 0x3C3B, 0x4220, { 0x8B, 0x8F, 0xD8, 0x21, 0xE1, 0xA4, 0xDC, 0xB2 }
};

STATIC VGA_VOLATILE_PPI  mVgaVolatile = { ReadSlot, WriteSlot, ClearSlot };

STATIC EFI_PEI_PPI_DESCRIPTOR  mVgaVolatileDescriptor = {
  EFI_PEI_PPI_DESCRIPTOR_PPI | EFI_PEI_PPI_DESCRIPTOR_TERMINATE_LIST,
  &gVgaVolatilePpiGuid,
  &mVgaVolatile
};

STATIC VOID
OpenDebugMode (
  VOID
  )
{
  UINT8  Value;

  IoWrite8 (CMOS_UPPER_INDEX, CMOS_DEBUG_MODE);
  Value = IoRead8 (CMOS_UPPER_DATA);
  IoWrite8 (CMOS_UPPER_INDEX, CMOS_DEBUG_MODE);
  IoWrite8 (CMOS_UPPER_DATA, (UINT8)((Value & ~DEBUG_MODE_MASK) | DEBUG_MODE_OPEN));
  DEBUG ((DEBUG_INFO, "\n<<Debug Mode Open from QMB>>\n"));
}

STATIC VOID
VolatileStoreStartUp (
  VOID
  )
{
  BMC_BOOT_OPTION_SLOT  BootOption;
  UINT32                DebugRequest;
  UINT32                Words[4];
  UINT8                 *Store;

  if ((PciExpressRead8 (PMC_GEN_PMCON_B) & PMC_PWR_FLR) != 0) {
    Store = VolatileStoreBase ();
    if (Store != NULL) {
      ZeroMem (Store, VOLATILE_STORE_CLEAR_SIZE);
    }
    DEBUG ((DEBUG_INFO, "Clear volatile data after AC power loss\n"));
    return;
  }
  if (!EFI_ERROR (ReadSlot (&mVgaVolatile, 0, 0, sizeof (BootOption), &BootOption)) &&
      CompareGuid (&BootOption.Guid, &mBmcBootOptionGuid)) {
    PcdSet32S (PcdZubBmcBootOption, BootOption.BootOption);
  }
  if (!EFI_ERROR (ReadSlot (&mVgaVolatile, 0, 1, sizeof (DebugRequest), &DebugRequest)) &&
      (DebugRequest == DEBUG_MODE_REQUEST)) {
    OpenDebugMode ();
  }
  if (!EFI_ERROR (ReadSlot (&mVgaVolatile, 0, 4, sizeof (Words), Words))) {
    PcdSet32S (PcdZubVolatileData0, Words[0]);
    PcdSet32S (PcdZubVolatileData1, Words[1]);
    PcdSet32S (PcdZubVolatileData2, Words[2]);
    PcdSet32S (PcdZubVolatileData3, Words[3]);
  }
}

extern "C" EFI_STATUS EFIAPI
VramStorePeiEntry (
  IN EFI_PEI_FILE_HANDLE     FileHandle,
  IN CONST EFI_PEI_SERVICES  **PeiServices
  )
{
  EFI_STATUS  Status;

  DEBUG ((DEBUG_INFO, "VramStorePeiEntry --- start\n"));
  VolatileStoreStartUp ();
  Status = PeiServicesInstallPpi (&mVgaVolatileDescriptor);
  if (EFI_ERROR (Status)) {
    DEBUG ((DEBUG_ERROR, "Failed to install vga volatile ppi %r\n", Status));
    return Status;
  }
  return EFI_SUCCESS;
}
