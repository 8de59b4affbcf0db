/** @file
  HOB helpers over the PEI services' HOB list.
**/
#ifndef HOB_LIB_H_
#define HOB_LIB_H_

#include <PiPei.h>

#define GET_HOB_TYPE(Hob)        ((Hob).Header->HobType)
#define GET_HOB_LENGTH(Hob)      ((Hob).Header->HobLength)
#define GET_NEXT_HOB(Hob)        ((VOID *)((Hob).Raw + GET_HOB_LENGTH (Hob)))
#define END_OF_HOB_LIST(Hob)     (GET_HOB_TYPE (Hob) == (UINT16)EFI_HOB_TYPE_END_OF_HOB_LIST)
#define GET_GUID_HOB_DATA(HobStart)      ((VOID *)(((UINT8 *)(HobStart)) + sizeof (EFI_HOB_GUID_TYPE)))
#define GET_GUID_HOB_DATA_SIZE(HobStart) \
  ((UINT16)(((EFI_HOB_GENERIC_HEADER *)(HobStart))->HobLength - sizeof (EFI_HOB_GUID_TYPE)))

VOID * EFIAPI GetHobList (VOID);
VOID * EFIAPI GetNextHob (IN UINT16 Type, IN CONST VOID *HobStart);
VOID * EFIAPI GetFirstHob (IN UINT16 Type);
VOID * EFIAPI GetNextGuidHob (IN CONST EFI_GUID *Guid, IN CONST VOID *HobStart);
VOID * EFIAPI GetFirstGuidHob (IN CONST EFI_GUID *Guid);
VOID * EFIAPI BuildGuidHob (IN CONST EFI_GUID *Guid, IN UINTN DataLength);
VOID * EFIAPI BuildGuidDataHob (IN CONST EFI_GUID *Guid, IN VOID *Data, IN UINTN DataLength);

#endif
