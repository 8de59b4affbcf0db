/** @file
  Microsecond delay on the ACPI power-management timer: 24 bits at 3,579,545 Hz at
  I/O port 0x508. Before the first use the PMC (bus 0, device 31, function 2) gets its
  ACPI I/O base 0x500 (register 0x40) and ACPI I/O decoding (register 0x44 bit 7) when
  that decoding is still off.
**/
#include <Library/TimerLib.h>
#include <Library/PciExpressLib.h>
#include <Library/IoLib.h>

#define PMC_BUS          0
#define PMC_DEVICE       31
#define PMC_FUNCTION     2
#define PMC_ACPI_BASE    0x40
#define PMC_ACPI_CNTL    0x44
#define PMC_ACPI_EN      BIT7
#define PM_TIMER_MASK    0x00FFFFFFu

STATIC VOID
AcpiPmTimerSetUp (
  VOID
  )
{
  UINTN  Cntl = PCI_EXPRESS_LIB_ADDRESS (PMC_BUS, PMC_DEVICE, PMC_FUNCTION, PMC_ACPI_CNTL);

  if ((PciExpressRead8 (Cntl) & PMC_ACPI_EN) == 0) {
    PciExpressWrite32 (PCI_EXPRESS_LIB_ADDRESS (PMC_BUS, PMC_DEVICE, PMC_FUNCTION, PMC_ACPI_BASE), ACPI_PM_IO_BASE);
    PciExpressWrite8 (Cntl, (UINT8)(PciExpressRead8 (Cntl) | PMC_ACPI_EN));
  }
}

UINT32 EFIAPI AcpiPmTimerRead (VOID)
{
  return IoRead32 (ACPI_PM_TIMER_PORT) & PM_TIMER_MASK;
}

UINTN EFIAPI MicroSecondDelay (IN UINTN MicroSeconds)
{
  UINT64  Ticks;
  UINT64  Elapsed;
  UINT32  Last;
  UINT32  Now;

  AcpiPmTimerSetUp ();
  Ticks   = (UINT64)MicroSeconds * ACPI_PM_TIMER_FREQUENCY / 1000000u;
  Elapsed = 0;
  Last    = AcpiPmTimerRead ();
  while (Elapsed < Ticks) {
    Now      = AcpiPmTimerRead ();
    Elapsed += (Now - Last) & PM_TIMER_MASK;    // the counter wraps at 24 bits
    Last     = Now;
  }
  return MicroSeconds;
}
