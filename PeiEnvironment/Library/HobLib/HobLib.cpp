/** @file
  HOB list walks and GUID HOB creation.
**/
#include <PiPei.h>
#include <Library/HobLib.h>
#include <Library/PeiServicesLib.h>
#include <Library/BaseMemoryLib.h>

VOID * EFIAPI GetHobList (VOID)
{
  VOID  *HobList;

  if (EFI_ERROR (PeiServicesGetHobList (&HobList))) {
    return NULL;
  }
  return HobList;
}

VOID * EFIAPI GetNextHob (IN UINT16 Type, IN CONST VOID *HobStart)
{
  EFI_PEI_HOB_POINTERS  Hob;

  Hob.Raw = (UINT8 *)HobStart;
  if (Hob.Raw == NULL) {
    return NULL;
  }
  while (!END_OF_HOB_LIST (Hob)) {
    if (Hob.Header->HobType == Type) {
      return Hob.Raw;
    }
    if (GET_HOB_LENGTH (Hob) < sizeof (EFI_HOB_GENERIC_HEADER)) {
      return NULL;    // a corrupt list must not loop
    }
    Hob.Raw = (UINT8 *)GET_NEXT_HOB (Hob);
  }
  return NULL;
}

VOID * EFIAPI GetFirstHob (IN UINT16 Type)
{
  return GetNextHob (Type, GetHobList ());
}

VOID * EFIAPI GetNextGuidHob (IN CONST EFI_GUID *Guid, IN CONST VOID *HobStart)
{
  EFI_PEI_HOB_POINTERS  GuidHob;

  GuidHob.Raw = (UINT8 *)HobStart;
  while ((GuidHob.Raw = (UINT8 *)GetNextHob (EFI_HOB_TYPE_GUID_EXTENSION, GuidHob.Raw)) != NULL) {
    if (CompareGuid (Guid, &GuidHob.Guid->Name)) {
      break;
    }
    GuidHob.Raw = (UINT8 *)GET_NEXT_HOB (GuidHob);
  }
  return GuidHob.Raw;
}

VOID * EFIAPI GetFirstGuidHob (IN CONST EFI_GUID *Guid)
{
  return GetNextGuidHob (Guid, GetHobList ());
}

VOID * EFIAPI BuildGuidHob (IN CONST EFI_GUID *Guid, IN UINTN DataLength)
{
  EFI_HOB_GUID_TYPE  *Hob;

  if (DataLength > (0xFFF8 - sizeof (EFI_HOB_GUID_TYPE))) {
    return NULL;
  }
  if (EFI_ERROR (PeiServicesCreateHob (EFI_HOB_TYPE_GUID_EXTENSION,
                                       (UINT16)(sizeof (EFI_HOB_GUID_TYPE) + DataLength), (VOID **)&Hob))) {
    return NULL;
  }
  CopyGuid (&Hob->Name, Guid);
  return Hob + 1;
}

VOID * EFIAPI BuildGuidDataHob (IN CONST EFI_GUID *Guid, IN VOID *Data, IN UINTN DataLength)
{
  VOID  *HobData = BuildGuidHob (Guid, DataLength);

  if (HobData == NULL) {
    return NULL;
  }
  return CopyMem (HobData, Data, DataLength);
}
