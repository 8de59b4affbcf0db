/** @file
  The CPLD read path: the LPC generic memory range opened in both range registers (the
  DMI copy in PCR port 0xEF and the LPC bridge's 0x98) for one byte read, the delayed
  full reset that ends a diagnosis boot, and the IIO slot registers.
**/
#include <Library/BaseLib.h>
#include <Library/DebugLib.h>
#include <Library/IoLib.h>
#include <Library/PcdLib.h>
#include <Library/TimerLib.h>
#include "FaultIsolate.h"

#define PCIE_CONFIG_BASE        0x80000000u
#define PCH_PCR_BASE            0xFD000000u
#define PCH_PCR_PORT_DMI        0xEF
#define PCH_PCR_PORT_SYNC       0xC7
#define PCH_PCR_SYNC_OFFSET     0x3418
#define PCH_PCR_DMI_LPC_GMR     0x2740
#define LPC_DEVICE              31
#define LPC_FUNCTION            0
#define LPC_GENERIC_MEMORY_RANGE  0x98
#define LPC_GMR_ENABLE          BIT0
#define BRACKET_REGISTER        0x20
#define FULL_RESET_PORT         0xCF9
#define FULL_RESET_VALUE        0x0E
#define IIO_SLOT_PORT_FIRST     2
#define IIO_SLOT_PORT_LAST      21
#define IIO_SLOT_SOCKET_LAST    2

#define PCH_PCR_ADDRESS(Port, Offset)  (PCH_PCR_BASE | ((UINT32)(Port) << 16) | (UINT32)(Offset))

UINT32
ZubRasGetPciAddress (
  IN UINT8  Device,
  IN UINT8  Function
  )
{
  UINT32  Address;

  Address = PCIE_CONFIG_BASE + (((UINT32)Device * 8 + Function) << 12);
  DEBUG ((DEBUG_ERROR, "ZubRasGetPciAddress: Address for BDF 0x%x 0x%x 0x%x offset 0x%x is 0x%llx\n", 0, Device,
          Function, 0, (UINT64)Address));
  return Address;
}

EFI_STATUS
ZubRasPchPcrWrite32 (
  IN UINT32  Offset,
  IN UINT32  Value
  )
{
  if ((Offset & 0x3) != 0) {
    return EFI_INVALID_PARAMETER;
  }

  MmioWrite32 (PCH_PCR_ADDRESS (PCH_PCR_PORT_DMI, Offset), Value);
  //
  // A read of a register behind another port makes the posted write complete.
  //
  MmioRead32 (PCH_PCR_ADDRESS (PCH_PCR_PORT_SYNC, PCH_PCR_SYNC_OFFSET));
  return EFI_SUCCESS;
}

EFI_STATUS
ZubRasLpcMemWindow (
  IN BOOLEAN  Enable
  )
{
  UINT32  Value;
  UINT32  Register;

  Value = Enable ? (PcdGet32 (PcdZubLpcCpldBase) | LPC_GMR_ENABLE) : 0;
  ZubRasPchPcrWrite32 (PCH_PCR_DMI_LPC_GMR, Value);
  Register = ZubRasGetPciAddress (LPC_DEVICE, LPC_FUNCTION) + LPC_GENERIC_MEMORY_RANGE;
  MmioWrite32 (Register, MmioRead32 (Register) & ~LPC_GMR_ENABLE);
  MmioWrite32 (Register, Value);
  return EFI_SUCCESS;
}

UINT8
ZubRasHwDiagnoseLpcReadCpldData8 (
  IN UINT32  Offset
  )
{
  UINT32  Base;
  UINT32  Bracket;
  UINT32  Saved;
  UINT8   Data8;

  Base    = PcdGet32 (PcdZubLpcCpldBase);
  Bracket = ZubRasGetPciAddress (0, 0x1C) + BRACKET_REGISTER;
  Saved   = MmioRead32 (Bracket);
  MmioWrite32 (Bracket, 0);

  ZubRasLpcMemWindow (TRUE);
  Data8 = MmioRead8 (Base + Offset);
  ZubRasLpcMemWindow (FALSE);

  MmioWrite32 (Bracket, Saved);
  DEBUG ((DEBUG_INFO, "ZubRasHwDiagnoseLpcReadCpldData8 Offset %x, Data8 0x%x\n", Offset, Data8));
  return Data8;
}

UINT8
ZubRasHwDiagReadCpldRequest (
  VOID
  )
{
  UINT8  Request;

  Request = ZubRasHwDiagnoseLpcReadCpldData8 (ZUB_CPLD_REQUEST);
  return Request == 0xFF ? 0 : Request;
}

UINT8
GetIioSlotNumberByIndex (
  IN UINT8  Port,
  IN UINT8  Socket
  )
{
  UINT32  Index;
  UINT32  Stack;
  UINT32  Register;
  UINT8   Slot;

  //
  // Only the CPLD's slot registers (0x140-0x15F: ports 2-21 of CPUs 1 and 2) hold slot
  // numbers; a TestIndex or CPU number from CMOS beyond them names no slot.
  //
  if (Port < IIO_SLOT_PORT_FIRST || Socket < 1 || Port > IIO_SLOT_PORT_LAST || Socket > IIO_SLOT_SOCKET_LAST) {
    return ZUB_NO_SLOT;
  }

  Index = (UINT32)Port - IIO_SLOT_PORT_FIRST;
  Stack = Index / 4;
  if (Stack > 2) {
    Stack = Stack - 1;
  }

  Register = 4 * (0x4C + 4 * (UINT32)Socket + Stack) + Index % 4;
  Slot     = ZubRasHwDiagnoseLpcReadCpldData8 (Register);
  DEBUG ((DEBUG_ERROR, "GetIioSlotNumberByIndex socket %d   port %d  slot number is %d\n", Socket, Port, Slot));
  return Slot;
}

VOID
ZubHwDiagDoColdReset (
  VOID
  )
{
  DEBUG ((DEBUG_INFO, "ZubHwDiagDoColdReset     write cf9 to 0xE\n"));
  IoWrite8 (FULL_RESET_PORT, FULL_RESET_VALUE);
  for ( ; ; ) {
    CpuDeadLoop ();
  }
}

VOID
ZubHwDiagDelayedColdReset (
  VOID
  )
{
  MicroSecondDelay (ZUB_DIAG_RESET_DELAY_US);
  ZubHwDiagDoColdReset ();
}
