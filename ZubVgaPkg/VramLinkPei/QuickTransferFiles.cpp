/** @file
  Files over the quick-transfer channel: a push whose data the caller's hook writes in
  place, and a download that hands out a pointer into the answer area.
**/
#include "VramLink.h"

#include <Library/BaseLib.h>
#include <Library/BaseMemoryLib.h>
#include <Library/DebugLib.h>

EFI_STATUS
EFIAPI
QuickTransPushFile (
  IN CONST CHAR8            *FileName,
  IN UINT8                  Option,
  IN QUICK_TRANS_DATA_HOOK  Hook
  )
{
  EFI_STATUS               Status;
  UINT8                    *RequestArea;
  UINT8                    *AnswerArea;
  UINT32                   Size;
  UINTN                    Index;
  QUICK_TRANS_FILE_PARAMS  Params;
  QUICK_TRANS_HEADER       *Answer;

  if ((FileName == NULL) || (Hook == NULL)) {
    return EFI_INVALID_PARAMETER;
  }
  Status = QuickTransAreas (&RequestArea, &AnswerArea);
  if (EFI_ERROR (Status)) {
    return Status;
  }
  Size   = 0;
  Status = Hook (QUICK_TRANS_MAX_DATA, RequestArea + QUICK_TRANS_DATA_OFFSET, &Size);
  if (EFI_ERROR (Status) || (Size == 0) || (Size > QUICK_TRANS_MAX_DATA)) {
    DEBUG ((DEBUG_ERROR, "Get data failed from hook %r %u\n", Status, Size));
    //
    // A hook that succeeded with no or too much data has still failed.
    //
    return EFI_ERROR (Status) ? Status : EFI_BAD_BUFFER_SIZE;
  }
  ZeroMem (&Params, sizeof (Params));
  for (Index = 0; (Index < QUICK_TRANS_FILE_NAME_SIZE - 1) && (FileName[Index] != '\0'); Index++) {
    Params.FileName[Index] = FileName[Index];
  }
  Params.Option      = Option;
  Params.Length      = Size;
  Params.TotalLength = Size;
  Status = QuickTransSendCommand (QUICK_TRANS_CMD_PUSH_FILE, &Params, Size, NULL, &Answer);
  if (EFI_ERROR (Status)) {
    return Status;
  }
  return EFI_SUCCESS;
}

EFI_STATUS
EFIAPI
QuickTransGetFile (
  IN  CONST CHAR8  *FileName,
  OUT UINT32       *FileSize,
  OUT VOID         **FileData
  )
{
  EFI_STATUS               Status;
  QUICK_TRANS_FILE_PARAMS  Params;
  QUICK_TRANS_HEADER       *Answer;
  UINT32                   Size;

  if ((FileName == NULL) || (FileSize == NULL) || (FileData == NULL)) {
    return EFI_INVALID_PARAMETER;
  }
  *FileSize = 0;
  *FileData = NULL;
  //
  // A name that does not fit the field with its NUL would go out empty: refuse it.
  //
  if (AsciiStrnLenS (FileName, QUICK_TRANS_FILE_NAME_SIZE) >= QUICK_TRANS_FILE_NAME_SIZE) {
    return EFI_INVALID_PARAMETER;
  }
  ZeroMem (&Params, sizeof (Params));
  AsciiStrCpyS (Params.FileName, sizeof (Params.FileName), FileName);
  Params.Option      = 0;
  Params.Length      = QUICK_TRANS_GET_FILE_MAX;
  Params.TotalLength = 0;
  Status = QuickTransSendCommand (QUICK_TRANS_CMD_GET_FILE, &Params, 0, NULL, &Answer);
  if (EFI_ERROR (Status)) {
    return Status;
  }
  if (Answer->Result == QUICK_TRANS_RESULT_NOT_FOUND) {
    return EFI_NOT_FOUND;
  }
  if (Answer->Result != QUICK_TRANS_RESULT_OK) {
    DEBUG ((DEBUG_ERROR, "Result:0x%X\n", Answer->Result));
    return EFI_OUT_OF_RESOURCES;
  }
  //
  // The file must lie inside the data the answer carries (already bounded by the area).
  //
  Size = ReadUnaligned32 (Answer->Params);
  if (Size > Answer->DataLength) {
    DEBUG ((DEBUG_ERROR, "File size 0x%X beyond the answer data 0x%X\n", Size, Answer->DataLength));
    return EFI_BAD_BUFFER_SIZE;
  }
  *FileSize = Size;
  *FileData = (UINT8 *)Answer + QUICK_TRANS_DATA_OFFSET;
  return EFI_SUCCESS;
}
