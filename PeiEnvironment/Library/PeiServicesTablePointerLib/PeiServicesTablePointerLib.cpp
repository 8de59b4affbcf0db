/** @file
  The PEI services table pointer, kept by the Foundation just below the IDT.
**/
#include <PiPei.h>
#include <Library/BaseLib.h>
#include <Library/PeiServicesTablePointerLib.h>

CONST EFI_PEI_SERVICES **
EFIAPI
GetPeiServicesTablePointer (
  VOID
  )
{
  IA32_DESCRIPTOR  Idtr;

  AsmReadIdtr (&Idtr);
  if (Idtr.Base == 0) {
    return NULL;
  }
  return *(CONST EFI_PEI_SERVICES ***)(Idtr.Base - sizeof (UINTN));
}
