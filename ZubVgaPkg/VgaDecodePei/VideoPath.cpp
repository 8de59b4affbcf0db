/** @file
  The PCI path from root port 0:1C.0 to the AST2500, as a device path of PCI nodes.
  Bridges get secondary buses from 1 upwards in path order, so with every node present
  the device's bridge is bus 1 and the device itself bus 2, device 0, function 0.
**/
#include "VgaDecode.h"

#include "PciConfig.h"

#include <Library/DebugLib.h>

#define HARDWARE_DEVICE_PATH   0x01
#define HW_PCI_DP              0x01
#define END_DEVICE_PATH_TYPE   0x7F
#define END_ENTIRE_SUBTYPE     0xFF

#define PCI_CLASS_P2P_BRIDGE   0x060400u
#define PCI_CLASS_VGA          0x030000u
#define AST_VENDOR_ID          0x1A03
#define AST2500_DEVICE_ID      0x2000

#define PCI_VENDOR_ID_OFFSET         0x00
#define PCI_COMMAND_OFFSET           0x04
#define PCI_REVISION_ID_OFFSET       0x08
#define PCI_BAR0_OFFSET              0x10
#define PCI_BAR1_OFFSET              0x14
#define PCI_BRIDGE_BUS_OFFSET        0x18
#define PCI_BRIDGE_IO_WINDOW_OFFSET  0x1C
#define PCI_BRIDGE_MEMORY_OFFSET     0x20
#define PCI_BRIDGE_PREFETCH_OFFSET   0x24
#define PCI_BRIDGE_CONTROL_OFFSET    0x3E

#define PCI_COMMAND_IO_MEMORY        0x03
#define PCI_BRIDGE_SUBORDINATE       8
#define PCI_BRIDGE_IO_CLOSED         0x00FF
#define PCI_BRIDGE_MEMORY_WINDOW     0x94109000u     // 0x90000000-0x941FFFFF
#define PCI_BRIDGE_PREFETCH_CLOSED   0x0000FFFFu
#define PCI_BRIDGE_CONTROL_VGA       0x08

#pragma pack(push, 1)
typedef struct {
  UINT8  Type;
  UINT8  SubType;
  UINT8  Length[2];
} DEVICE_PATH_NODE;

typedef struct {
  DEVICE_PATH_NODE  Header;
  UINT8             Function;
  UINT8             Device;
} PCI_DEVICE_PATH_NODE;

typedef struct {
  PCI_DEVICE_PATH_NODE  RootPort;
  PCI_DEVICE_PATH_NODE  VideoBridge;
  PCI_DEVICE_PATH_NODE  VideoDevice;
  DEVICE_PATH_NODE      End;
} VIDEO_DEVICE_PATH;
#pragma pack(pop)

static_assert (sizeof (PCI_DEVICE_PATH_NODE) == 6, "PCI device path node is 6 bytes");
static_assert (sizeof (DEVICE_PATH_NODE) == 4, "end node is 4 bytes");

#define PCI_NODE(Device, Function) \
  { { HARDWARE_DEVICE_PATH, HW_PCI_DP, { sizeof (PCI_DEVICE_PATH_NODE), 0 } }, (Function), (Device) }

STATIC CONST VIDEO_DEVICE_PATH  mVideoDevicePath = {
  PCI_NODE (0x1C, 0),
  PCI_NODE (0x00, 0),
  PCI_NODE (0x00, 0),
  { END_DEVICE_PATH_TYPE, END_ENTIRE_SUBTYPE, { sizeof (DEVICE_PATH_NODE), 0 } }
};

/** Gives the bridge its buses and the console's memory window, and routes VGA. **/
STATIC
EFI_STATUS
OpenBridge (
  IN CONST PCI_LOCATION  *Bridge,
  IN UINT8               Secondary
  )
{
  EFI_STATUS  Status;
  UINT32      Buses;

  DEBUG ((DEBUG_INFO, "This is PCI P2P Bridge\n"));
  Buses  = (UINT32)Bridge->Bus | ((UINT32)Secondary << 8) | ((UINT32)PCI_BRIDGE_SUBORDINATE << 16);
  Status = PciConfigWrite32 (Bridge, PCI_BRIDGE_BUS_OFFSET, Buses);
  if (!EFI_ERROR (Status)) {
    Status = PciConfigWrite16 (Bridge, PCI_BRIDGE_IO_WINDOW_OFFSET, PCI_BRIDGE_IO_CLOSED);
  }

  if (!EFI_ERROR (Status)) {
    Status = PciConfigWrite32 (Bridge, PCI_BRIDGE_MEMORY_OFFSET, PCI_BRIDGE_MEMORY_WINDOW);
  }

  if (!EFI_ERROR (Status)) {
    Status = PciConfigWrite32 (Bridge, PCI_BRIDGE_PREFETCH_OFFSET, PCI_BRIDGE_PREFETCH_CLOSED);
  }

  if (!EFI_ERROR (Status)) {
    Status = PciConfigWrite8 (Bridge, PCI_BRIDGE_CONTROL_OFFSET, PCI_BRIDGE_CONTROL_VGA);
  }

  if (!EFI_ERROR (Status)) {
    Status = PciConfigWrite8 (Bridge, PCI_COMMAND_OFFSET, PCI_COMMAND_IO_MEMORY);
  }

  return Status;
}

/** Sizes BAR0 (video memory) and places both BARs. **/
STATIC
EFI_STATUS
PlaceVideoBars (
  IN  CONST PCI_LOCATION  *Video,
  OUT UINT32              *MemorySize
  )
{
  EFI_STATUS  Status;
  UINT32      Bar;

  Status = PciConfigWrite8 (Video, PCI_COMMAND_OFFSET, PCI_COMMAND_IO_MEMORY);
  if (!EFI_ERROR (Status)) {
    Status = PciConfigWrite32 (Video, PCI_BAR0_OFFSET, 0xFFFFFFFFu);
  }

  if (!EFI_ERROR (Status)) {
    Status = PciConfigRead32 (Video, PCI_BAR0_OFFSET, &Bar);
  }

  if (EFI_ERROR (Status)) {
    return Status;
  }

  *MemorySize = 0u - Bar;
  DEBUG ((DEBUG_INFO, "AST Device VGA Memory Size: 0x%X (%uMB)\n", *MemorySize, *MemorySize >> 20));

  Status = PciConfigWrite32 (Video, PCI_BAR0_OFFSET, VGA_MEMORY_BASE);
  if (EFI_ERROR (Status)) {
    return Status;
  }

  DEBUG ((DEBUG_INFO, "Config MMIO Base: 0x%X\n", VGA_MEMORY_BASE));
  return PciConfigWrite32 (Video, PCI_BAR1_OFFSET, VGA_MEMORY_BASE + *MemorySize);
}

EFI_STATUS
SetUpVideoPath (
  OUT UINT32  *MemorySize,
  OUT UINT32  *PciAddress
  )
{
  CONST UINT8                 *Cursor;
  CONST DEVICE_PATH_NODE      *Node;
  CONST PCI_DEVICE_PATH_NODE  *PciNode;
  PCI_LOCATION                Location;
  UINT8                       CurrentBus;
  UINT8                       NextBus;
  UINT16                      VendorId;
  UINT32                      ClassDword;
  UINT32                      ClassCode;
  UINT32                      Ids;
  EFI_STATUS                  Status;

  CurrentBus = 0;
  NextBus    = 1;
  for (Cursor = (CONST UINT8 *)&mVideoDevicePath; ; Cursor += Node->Length[0] | (Node->Length[1] << 8)) {
    Node = (CONST DEVICE_PATH_NODE *)Cursor;
    if (Node->Type == END_DEVICE_PATH_TYPE) {
      return EFI_NOT_FOUND;
    }

    PciNode           = (CONST PCI_DEVICE_PATH_NODE *)Cursor;
    Location.Bus      = CurrentBus;
    Location.Device   = PciNode->Device;
    Location.Function = PciNode->Function;
    DEBUG ((DEBUG_INFO, "Pci scan Bus:%u Device:%u Function:%u\n", Location.Bus, Location.Device, Location.Function));

    Status = PciConfigRead16 (&Location, PCI_VENDOR_ID_OFFSET, &VendorId);
    if (EFI_ERROR (Status)) {
      return Status;
    }

    DEBUG ((DEBUG_INFO, "PCI Read Data16: 0x%04X\n", VendorId));
    if ((VendorId == 0xFFFF) || (VendorId == 0x0000)) {
      continue;
    }

    Status = PciConfigRead32 (&Location, PCI_REVISION_ID_OFFSET, &ClassDword);
    if (EFI_ERROR (Status)) {
      return Status;
    }

    ClassCode = ClassDword >> 8;
    DEBUG ((DEBUG_INFO, "PCI Read Data32: 0x%08X   ClassCode: 0x%X\n", ClassDword, ClassCode));

    if (ClassCode == PCI_CLASS_P2P_BRIDGE) {
      Status = OpenBridge (&Location, NextBus);
      if (EFI_ERROR (Status)) {
        return Status;
      }

      CurrentBus = NextBus;
      NextBus++;
    } else if (ClassCode == PCI_CLASS_VGA) {
      DEBUG ((DEBUG_INFO, "This is PCI VGA Device\n"));
      Status = PciConfigRead32 (&Location, PCI_VENDOR_ID_OFFSET, &Ids);
      if (EFI_ERROR (Status)) {
        return Status;
      }

      if (((Ids & 0xFFFF) != AST_VENDOR_ID) || ((Ids >> 16) != AST2500_DEVICE_ID)) {
        DEBUG ((DEBUG_INFO, "VGA device 0x%04X 0x%04X is not ast 2500\n", Ids & 0xFFFF, Ids >> 16));
        continue;
      }

      Status = PlaceVideoBars (&Location, MemorySize);
      if (EFI_ERROR (Status)) {
        return Status;
      }

      *PciAddress = ((UINT32)Location.Bus << 20) | ((UINT32)Location.Device << 15) |
                    ((UINT32)Location.Function << 12);
      return EFI_SUCCESS;
    } else {
      DEBUG ((DEBUG_INFO, "PCI Unknown ClassCode:0x%x\n", ClassCode));
    }
  }
}
