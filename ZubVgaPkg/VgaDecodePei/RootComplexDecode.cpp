/** @file
  Root bus 1 decode on Ice Lake-SP: without bit 15 of the root complex's register 0x108
  the video device behind root port 0:1C.0 is not reached. Skylake-SP (family 6,
  model 0x55) has no such bit.
**/
#include "VgaDecode.h"

#include "PciConfig.h"

#include <Library/BaseLib.h>
#include <Library/DebugLib.h>

#define CPUID_VERSION_INFO          1
#define CPU_FAMILY_MODEL_MASK       0xFFFF0u
#define CPU_FAMILY_MODEL_SKX        0x50650u
#define ROOTBUS_1_0_0_CFG           0x108
#define ROOTBUS_1_DECODE_ENABLE     0x8000

EFI_STATUS
EnableRootBusDecode (
  VOID
  )
{
  STATIC CONST PCI_LOCATION  RootComplex = { 0, 0, 0 };
  UINT32                     Eax;
  UINT16                     Value;
  EFI_STATUS                 Status;

  AsmCpuid (CPUID_VERSION_INFO, &Eax, NULL, NULL, NULL);
  if ((Eax & CPU_FAMILY_MODEL_MASK) == CPU_FAMILY_MODEL_SKX) {
    return EFI_SUCCESS;
  }

  DEBUG ((DEBUG_INFO, "Enable the early console VGA device bus decoding for ICX cpu\n"));
  Status = PciConfigRead16 (&RootComplex, ROOTBUS_1_0_0_CFG, &Value);
  if (EFI_ERROR (Status)) {
    return Status;
  }

  DEBUG ((DEBUG_INFO, "ROOTBUS_1_0_0_CFG Before Set : 0x%x \n", Value));
  Status = PciConfigWrite16 (&RootComplex, ROOTBUS_1_0_0_CFG, (UINT16)(Value | ROOTBUS_1_DECODE_ENABLE));
  if (EFI_ERROR (Status)) {
    return Status;
  }

  Status = PciConfigRead16 (&RootComplex, ROOTBUS_1_0_0_CFG, &Value);
  if (EFI_ERROR (Status)) {
    return Status;
  }

  DEBUG ((DEBUG_INFO, "ROOTBUS_1_0_0_CFG After Set : 0x%x \n", Value));
  return EFI_SUCCESS;
}
