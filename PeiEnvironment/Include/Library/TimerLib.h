/** @file
  Delays on the ACPI power-management timer (port 0x508, 24 bits, 3,579,545 Hz).
**/
#ifndef TIMER_LIB_H_
#define TIMER_LIB_H_

#include <Uefi/UefiBaseType.h>

#define ACPI_PM_TIMER_FREQUENCY  3579545u
#define ACPI_PM_TIMER_PORT       0x508u
#define ACPI_PM_IO_BASE          0x500u

UINTN  EFIAPI MicroSecondDelay (IN UINTN MicroSeconds);
UINT32 EFIAPI AcpiPmTimerRead (VOID);

#endif
