/** @file
  Internal interface of the quick-transfer channel.
**/
#ifndef VRAM_LINK_H_
#define VRAM_LINK_H_

#include <PiPei.h>
#include <Ppi/QuickTrans.h>

EFI_STATUS EFIAPI QuickTransSendCommand (IN UINT16 Command, IN VOID *Params, IN UINT32 DataLength,
                                         IN VOID *Data OPTIONAL, OUT QUICK_TRANS_HEADER **Answer);
EFI_STATUS EFIAPI QuickTransPushFile (IN CONST CHAR8 *FileName, IN UINT8 Option, IN QUICK_TRANS_DATA_HOOK Hook);
EFI_STATUS EFIAPI QuickTransGetFile (IN CONST CHAR8 *FileName, OUT UINT32 *FileSize, OUT VOID **FileData);

//
// The request and answer areas in video memory, computed afresh from the VGA PCDs.
// Returns EFI_NO_MAPPING when the aperture is not backed by memory.
//
EFI_STATUS QuickTransAreas (OUT UINT8 **Request, OUT UINT8 **Answer);

#endif
