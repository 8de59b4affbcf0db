/** @file
  Walks of the NVRAM store and of the nested store inside "StdDefaults". The store comes
  from flash and is not trusted: every record is read only where its header, GUID field,
  name and data lie inside the store. A Size of 0 or one running past the store ends a
  walk; a Next chain that leaves the store is refused; a name without its terminator
  inside the record matches nothing.
**/
#include <Library/BaseLib.h>
#include <Library/BaseMemoryLib.h>
#include <Library/DebugLib.h>

#include "ZubSetupDefaultUpdate.h"

#define STD_DEFAULTS_NAME  "StdDefaults"

typedef struct {
  UINT16       Size;
  UINT32       Next;
  UINT8        Flags;
  CONST CHAR8  *AsciiName;    // NULL: UCS-2 name, no name, or no terminator in the record
  UINT16       DataOffset;    // 0: the data start is not inside the record
} NVAR_RECORD_INFO;

STATIC
BOOLEAN
NvarHasSignature (
  IN CONST UINT8  *Record,
  IN UINTN        Avail
  )
{
  return (BOOLEAN)((Avail >= sizeof (NVAR_HEADER)) && (ReadUnaligned32 (Record) == NVAR_SIGNATURE));
}

//
// Bit 7 of Flags is the sign bit of the 32-bit value at offset 6.
//
STATIC
BOOLEAN
NvarIsValid (
  IN CONST UINT8  *Record
  )
{
  return (BOOLEAN)((INT32)ReadUnaligned32 (Record + 6) < 0);
}

STATIC
UINT32
NvarNext (
  IN CONST UINT8  *Record
  )
{
  return ReadUnaligned32 (Record + 6) & 0xFFFFFF;
}

//
// Reads the record at Record, Avail bytes before the end of its store. FALSE when it does
// not hold the signature or its Size is shorter than a header or runs past the store.
//
STATIC
BOOLEAN
NvarReadRecord (
  IN  CONST UINT8       *Record,
  IN  UINTN             Avail,
  OUT NVAR_RECORD_INFO  *Info
  )
{
  UINTN  NameStart;
  UINTN  Index;

  ZeroMem (Info, sizeof (*Info));
  if (!NvarHasSignature (Record, Avail)) {
    return FALSE;
  }
  Info->Size  = ReadUnaligned16 (Record + 4);
  Info->Next  = NvarNext (Record);
  Info->Flags = Record[9];
  if ((Info->Size < sizeof (NVAR_HEADER)) || (Info->Size > Avail)) {
    return FALSE;
  }
  if ((Info->Flags & NVAR_FLAG_DATA_ONLY) != 0) {
    Info->DataOffset = sizeof (NVAR_HEADER);
    return TRUE;
  }
  NameStart = sizeof (NVAR_HEADER) + (((Info->Flags & NVAR_FLAG_GUID) != 0) ? sizeof (EFI_GUID) : 1);
  if ((Info->Flags & NVAR_FLAG_ASCII_NAME) != 0) {
    for (Index = NameStart; Index < Info->Size; Index++) {
      if (Record[Index] == 0) {
        Info->AsciiName  = (CONST CHAR8 *)(Record + NameStart);
        Info->DataOffset = (UINT16)(Index + 1);
        break;
      }
    }
  } else {
    for (Index = NameStart; Index + 1 < Info->Size; Index += 2) {
      if ((Record[Index] == 0) && (Record[Index + 1] == 0)) {
        Info->DataOffset = (UINT16)(Index + 2);
        break;
      }
    }
  }
  return TRUE;
}

STATIC
BOOLEAN
NvarNameIs (
  IN CONST NVAR_RECORD_INFO  *Info,
  IN CONST CHAR8             *Name
  )
{
  return (BOOLEAN)((Info->AsciiName != NULL) && (AsciiStrCmp (Info->AsciiName, Name) == 0));
}

STATIC
BOOLEAN
IsStdDefaults (
  IN CONST UINT8  *Record,
  IN UINTN        Avail
  )
{
  NVAR_RECORD_INFO  Info;

  return (BOOLEAN)(NvarReadRecord (Record, Avail, &Info) && NvarIsValid (Record) && NvarNameIs (&Info, STD_DEFAULTS_NAME));
}

EFI_STATUS
ZubLocateStdDefaults (
  IN OUT SETUP_DEFAULT_CONTEXT  *Context
  )
{
  CONST NVRAM_STORE_VIEW  *Store;
  NVAR_RECORD_INFO        Info;
  UINTN                   Offset;
  UINT32                  Next;

  Store = &Context->Store;
  for (Offset = 0; Offset + sizeof (NVAR_HEADER) <= Store->Size; Offset++) {
    if (IsStdDefaults (Store->Base + Offset, Store->Size - Offset)) {
      break;
    }
  }
  if (Offset + sizeof (NVAR_HEADER) > Store->Size) {
    return EFI_NOT_FOUND;
  }

  //
  // Newer versions lie further on. Every hop moves forward, so the chain ends; a hop that
  // leaves the store, or lands where no record is, breaks it.
  //
  for (Next = NvarNext (Store->Base + Offset); (Next != 0) && (Next != NVAR_NEXT_NONE);
       Next = NvarNext (Store->Base + Offset)) {
    if ((Next > Store->Size - Offset) || !NvarHasSignature (Store->Base + Offset + Next, Store->Size - Offset - Next)) {
      DEBUG ((DEBUG_ERROR, "StdDefaults chain leaves the store at 0x%X (+0x%X)\n", Store->Address + (UINT32)Offset, Next));
      return EFI_NOT_FOUND;
    }
    Offset += Next;
  }
  if (!IsStdDefaults (Store->Base + Offset, Store->Size - Offset)) {
    return EFI_NOT_FOUND;
  }
  NvarReadRecord (Store->Base + Offset, Store->Size - Offset, &Info);
  Context->StdNvar     = Store->Address + (UINT32)Offset;
  Context->StdNvarSize = Info.Size;
  Context->Nest        = Context->StdNvar + Info.DataOffset;
  Context->NestEnd     = Context->StdNvar + Info.Size;
  DEBUG ((DEBUG_INFO, "Find StdDefaults at %p  nest:%p\n", (VOID *)(UINTN)Context->StdNvar,
          (VOID *)(UINTN)Context->Nest));
  return EFI_SUCCESS;
}

EFI_STATUS
ZubGetVariablePointers (
  IN OUT SETUP_DEFAULT_CONTEXT  *Context
  )
{
  CONST UINT8       *Nest;
  UINTN             NestSize;
  UINTN             Cursor;
  NVAR_RECORD_INFO  Info;
  UINTN             DataSize;
  UINTN             VarId;

  Nest     = Context->Store.Base + (Context->Nest - Context->Store.Address);
  NestSize = Context->NestEnd - Context->Nest;
  ZeroMem (Context->VarData, sizeof (Context->VarData));
  for (Cursor = 0; NvarReadRecord (Nest + Cursor, NestSize - Cursor, &Info) && NvarIsValid (Nest + Cursor);
       Cursor += Info.Size) {
    if ((Info.AsciiName == NULL) || (Info.DataOffset == 0)) {
      continue;
    }
    DataSize = Info.Size - Info.DataOffset;
    for (VarId = 0; VarId < VAR_ID_COUNT; VarId++) {
      if ((DataSize == mOverrideVarTable[VarId].Size) && NvarNameIs (&Info, mOverrideVarTable[VarId].Name)) {
        Context->VarData[VarId] = Context->Nest + (UINT32)Cursor + Info.DataOffset;
      }
    }
  }

  if (Context->VarData[VAR_ID_CUSTOM_INFO] == 0) {
    DEBUG ((DEBUG_ERROR, "ZUB CUSTOM INFO NOT FOUND\n"));
    return EFI_NOT_FOUND;
  }
  for (VarId = 0; VarId < VAR_ID_COUNT; VarId++) {
    DEBUG ((DEBUG_INFO, "VARID:%2u  NVRAM ADDR:0x%08X  <%a>\n", (UINT32)VarId, Context->VarData[VarId],
            mOverrideVarTable[VarId].Name));
  }
  return EFI_SUCCESS;
}
