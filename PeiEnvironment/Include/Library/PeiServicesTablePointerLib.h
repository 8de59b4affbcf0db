/** @file
  The PEI services table pointer. As on IA32 boards, the Foundation keeps it in the
  four (here eight) bytes just below the interrupt descriptor table that IDTR names.
**/
#ifndef PEI_SERVICES_TABLE_POINTER_LIB_H_
#define PEI_SERVICES_TABLE_POINTER_LIB_H_

#include <PiPei.h>

CONST EFI_PEI_SERVICES ** EFIAPI GetPeiServicesTablePointer (VOID);

#endif
