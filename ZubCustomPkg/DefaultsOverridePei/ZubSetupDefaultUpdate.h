/** @file
  DefaultsOverridePei: the setup defaults kept in the NVRAM store's "StdDefaults" variable,
  rebuilt for the machine's identity (OEM flag, customer ID, hardware type) and written
  back to flash, followed by a cold reset.
**/
#ifndef ZUB_SETUP_DEFAULT_UPDATE_H_
#define ZUB_SETUP_DEFAULT_UPDATE_H_

#include <PiPei.h>
#include <Guid/NvramStore.h>

#define VAR_ID_COUNT              24
#define SETUP_ID_COUNT            260
#define VAR_ID_CUSTOM_INFO        0

#define CUSTOM_INFO_OEM_FLAG      0
#define CUSTOM_INFO_CUSTOM_ID     1
#define CUSTOM_INFO_HW_TYPE       2

typedef struct {
  CONST CHAR8  *Name;
  UINT16       Size;             // default-data size the variable must have to be used
} OVERRIDE_VAR_ENTRY;

typedef struct {
  UINT8   VarId;
  UINT16  Offset;                // byte offset into the variable's default data
} SETUP_ITEM_ENTRY;

#pragma pack(push, 1)
typedef struct {
  UINT16  SetupId;
  UINT8   Value;
} SETUP_OVERRIDE_ENTRY;
#pragma pack(pop)

static_assert (sizeof (SETUP_OVERRIDE_ENTRY) == 3, "override entries are packed");

typedef struct {
  UINT8                       Selector;     // HwType or CustomId
  CONST SETUP_OVERRIDE_ENTRY  *Entries;
  UINT16                      Count;
} SETUP_OVERRIDE_SET;

typedef struct {
  UINT32  Key;
  UINT8   HwType;
} HW_TYPE_ENTRY;

//
// The NVRAM store as it is walked: the mapped bytes and the physical address they sit at.
//
typedef struct {
  UINT8   *Base;
  UINT32  Address;
  UINT32  Size;
} NVRAM_STORE_VIEW;

typedef struct {
  NVRAM_STORE_VIEW  Store;
  UINT32            StdNvar;                  // "StdDefaults" record (physical)
  UINT16            StdNvarSize;
  UINT32            Nest;                     // its nested store
  UINT32            NestEnd;
  UINT32            VarData[VAR_ID_COUNT];    // default data per VarId (physical), 0: none
} SETUP_DEFAULT_CONTEXT;

extern CONST OVERRIDE_VAR_ENTRY  mOverrideVarTable[VAR_ID_COUNT];
extern CONST SETUP_ITEM_ENTRY    mSetupItemMap[SETUP_ID_COUNT];
extern CONST SETUP_OVERRIDE_SET  mHwTypeOverrideSets[];
extern CONST UINTN               mHwTypeOverrideSetCount;
extern CONST SETUP_OVERRIDE_SET  mCustomIdOverrideSets[];
extern CONST UINTN               mCustomIdOverrideSetCount;
extern CONST HW_TYPE_ENTRY       mHwTypeTable[];
extern CONST UINTN               mHwTypeTableCount;

//
// NvarStore.cpp
//
EFI_STATUS
ZubLocateStdDefaults (
  IN OUT SETUP_DEFAULT_CONTEXT  *Context
  );

EFI_STATUS
ZubGetVariablePointers (
  IN OUT SETUP_DEFAULT_CONTEXT  *Context
  );

//
// SetupOverride.cpp
//
UINT8
ZubGetHwType (
  VOID
  );

VOID
ZubApplySetupOverrides (
  IN UINT8  **VarData,
  IN UINT8  OemFlag,
  IN UINT8  CustomId,
  IN UINT8  HwType
  );

//
// ZubSetupDefaultUpdate.cpp
//
EFI_STATUS
EFIAPI
ZubSetupDefaultNotify (
  IN EFI_PEI_SERVICES           **PeiServices,
  IN EFI_PEI_NOTIFY_DESCRIPTOR  *NotifyDescriptor,
  IN VOID                       *Ppi
  );

#endif
