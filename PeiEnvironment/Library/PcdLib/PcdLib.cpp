/** @file
  PCD access over the PCD service PPI, located at every call.
**/
#include <PiPei.h>
#include <Ppi/Pcd.h>
#include <Library/PcdLib.h>
#include <Library/PeiServicesLib.h>

STATIC PCD_PPI *
GetPcdPpi (
  VOID
  )
{
  PCD_PPI  *Pcd;

  if (EFI_ERROR (PeiServicesLocatePpi (&gPcdPpiGuid, 0, NULL, (VOID **)&Pcd))) {
    return NULL;
  }
  return Pcd;
}

UINT8   EFIAPI LibPcdGet8 (IN UINTN Token)    { PCD_PPI *P = GetPcdPpi (); return (P != NULL) ? P->Get8 (Token) : 0; }
UINT16  EFIAPI LibPcdGet16 (IN UINTN Token)   { PCD_PPI *P = GetPcdPpi (); return (P != NULL) ? P->Get16 (Token) : 0; }
UINT32  EFIAPI LibPcdGet32 (IN UINTN Token)   { PCD_PPI *P = GetPcdPpi (); return (P != NULL) ? P->Get32 (Token) : 0; }
UINT64  EFIAPI LibPcdGet64 (IN UINTN Token)   { PCD_PPI *P = GetPcdPpi (); return (P != NULL) ? P->Get64 (Token) : 0; }
VOID *  EFIAPI LibPcdGetPtr (IN UINTN Token)  { PCD_PPI *P = GetPcdPpi (); return (P != NULL) ? P->GetPtr (Token) : NULL; }
BOOLEAN EFIAPI LibPcdGetBool (IN UINTN Token) { PCD_PPI *P = GetPcdPpi (); return (P != NULL) ? P->GetBool (Token) : FALSE; }
UINTN   EFIAPI LibPcdGetSize (IN UINTN Token) { PCD_PPI *P = GetPcdPpi (); return (P != NULL) ? P->GetSize (Token) : 0; }

EFI_STATUS EFIAPI LibPcdSet8S (IN UINTN Token, IN UINT8 Value)
{
  PCD_PPI *P = GetPcdPpi ();
  return (P != NULL) ? P->Set8 (Token, Value) : EFI_NOT_FOUND;
}

EFI_STATUS EFIAPI LibPcdSet16S (IN UINTN Token, IN UINT16 Value)
{
  PCD_PPI *P = GetPcdPpi ();
  return (P != NULL) ? P->Set16 (Token, Value) : EFI_NOT_FOUND;
}

EFI_STATUS EFIAPI LibPcdSet32S (IN UINTN Token, IN UINT32 Value)
{
  PCD_PPI *P = GetPcdPpi ();
  return (P != NULL) ? P->Set32 (Token, Value) : EFI_NOT_FOUND;
}

EFI_STATUS EFIAPI LibPcdSet64S (IN UINTN Token, IN UINT64 Value)
{
  PCD_PPI *P = GetPcdPpi ();
  return (P != NULL) ? P->Set64 (Token, Value) : EFI_NOT_FOUND;
}

EFI_STATUS EFIAPI LibPcdSetPtrS (IN UINTN Token, IN OUT UINTN *SizeOfBuffer, IN CONST VOID *Buffer)
{
  PCD_PPI *P = GetPcdPpi ();
  return (P != NULL) ? P->SetPtr (Token, SizeOfBuffer, (VOID *)Buffer) : EFI_NOT_FOUND;
}

EFI_STATUS EFIAPI LibPcdSetBoolS (IN UINTN Token, IN BOOLEAN Value)
{
  PCD_PPI *P = GetPcdPpi ();
  return (P != NULL) ? P->SetBool (Token, Value) : EFI_NOT_FOUND;
}
