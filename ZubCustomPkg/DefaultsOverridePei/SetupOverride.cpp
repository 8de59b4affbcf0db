/** @file
  The hardware type from the identity PCDs, and the override sets applied to the default
  data in the RAM copy: the hardware set first, then the customer set, so that the
  customer set wins where both touch the same byte.
**/
#include <Library/DebugLib.h>
#include <Library/PcdLib.h>

#include "ZubSetupDefaultUpdate.h"

UINT8
ZubGetHwType (
  VOID
  )
{
  UINT32  Key;
  UINTN   Index;

  Key = ((UINT32)PcdGet8 (PcdZubHwId3) << 24) | ((UINT32)PcdGet8 (PcdZubHwId2) << 16) |
        ((UINT32)PcdGet8 (PcdZubHwId1) << 8) | PcdGet8 (PcdZubHwId0);
  for (Index = 0; Index < mHwTypeTableCount; Index++) {
    if (mHwTypeTable[Index].Key == Key) {
      return mHwTypeTable[Index].HwType;
    }
  }
  return 0;
}

STATIC
CONST SETUP_OVERRIDE_SET *
FindOverrideSet (
  IN CONST SETUP_OVERRIDE_SET  *Sets,
  IN UINTN                     Count,
  IN UINT8                     Selector
  )
{
  UINTN  Index;

  for (Index = 0; Index < Count; Index++) {
    if (Sets[Index].Selector == Selector) {
      return &Sets[Index];
    }
  }
  return NULL;
}

STATIC
VOID
ApplyOverrideSet (
  IN UINT8                     **VarData,
  IN CONST SETUP_OVERRIDE_SET  *Set
  )
{
  CONST SETUP_OVERRIDE_ENTRY  *Entry;
  CONST SETUP_ITEM_ENTRY      *Item;
  UINTN                       Index;

  for (Index = 0; Index < Set->Count; Index++) {
    Entry = &Set->Entries[Index];
    if (Entry->SetupId >= SETUP_ID_COUNT) {
      DEBUG ((DEBUG_ERROR, "Invalid setup id %u %u\n", (UINT32)Index, Entry->SetupId));
      continue;
    }
    Item = &mSetupItemMap[Entry->SetupId];
    if (Item->VarId >= VAR_ID_COUNT) {
      DEBUG ((DEBUG_ERROR, "Invalid VAR id %u (SetupId:%u)\n", Item->VarId, Entry->SetupId));
      continue;
    }
    if (VarData[Item->VarId] == NULL) {
      DEBUG ((DEBUG_ERROR, "VAR ID %u <%a> NOT found in NVRAM\n", Item->VarId, mOverrideVarTable[Item->VarId].Name));
      continue;
    }
    //
    // The data was taken only at its table size, so the offset lies inside it.
    //
    ASSERT (Item->Offset < mOverrideVarTable[Item->VarId].Size);
    VarData[Item->VarId][Item->Offset] = Entry->Value;
  }
}

VOID
ZubApplySetupOverrides (
  IN UINT8  **VarData,
  IN UINT8  OemFlag,
  IN UINT8  CustomId,
  IN UINT8  HwType
  )
{
  CONST SETUP_OVERRIDE_SET  *HwSet;
  CONST SETUP_OVERRIDE_SET  *CustomerSet;

  HwSet = FindOverrideSet (mHwTypeOverrideSets, mHwTypeOverrideSetCount, HwType);
  if ((HwSet == NULL) && (CustomId == 0)) {
    DEBUG ((DEBUG_INFO, "No override setup data, no need to update.\n"));
    return;
  }
  DEBUG ((DEBUG_INFO, "OEMFlag:%u CustomID:%u ValNum:%u\n", OemFlag, CustomId, (HwSet != NULL) ? HwSet->Count : 0));
  if (HwSet != NULL) {
    ApplyOverrideSet (VarData, HwSet);
  }

  CustomerSet = FindOverrideSet (mCustomIdOverrideSets, mCustomIdOverrideSetCount, CustomId);
  if ((CustomerSet == NULL) || (CustomerSet->Count == 0)) {
    DEBUG ((DEBUG_INFO, "No override setup data, no need to update.\n"));
    return;
  }
  DEBUG ((DEBUG_INFO, "OEMFlag:%u CustomID:%u ValNum:%u\n", OemFlag, CustomId, CustomerSet->Count));
  ApplyOverrideSet (VarData, CustomerSet);
}
