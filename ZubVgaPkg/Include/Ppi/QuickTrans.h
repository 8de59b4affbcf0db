/** @file
  Quick-transfer channel to the BMC through the top two megabytes of video memory: the
  answer area (End - 2 MB) and the request area (End - 1 MB), each a 256-byte header and
  up to 0xFFF00 data bytes. Shared with the BMC byte for byte.
**/
#ifndef ZUB_QUICK_TRANS_H_
#define ZUB_QUICK_TRANS_H_

#include <PiPei.h>

#define QUICK_TRANS_SIGNATURE         0x64616776u     // "vgad"
#define QUICK_TRANS_VERSION           1
#define QUICK_TRANS_FLAG_DATA_CRC     BIT0
#define QUICK_TRANS_AREA_SIZE         0x100000u
#define QUICK_TRANS_ANSWER_FROM_END   0x200000u
#define QUICK_TRANS_REQUEST_FROM_END  0x100000u
#define QUICK_TRANS_DATA_OFFSET       0x100u
#define QUICK_TRANS_MAX_DATA          0xFFF00u
#define QUICK_TRANS_GET_FILE_MAX      0xFFEFCu
#define QUICK_TRANS_MAX_COMMAND       9
#define QUICK_TRANS_FILE_NAME_SIZE    128

#define QUICK_TRANS_CMD_GET_FILE       2
#define QUICK_TRANS_CMD_PUSH_FILE      3
#define QUICK_TRANS_CMD_GET_PEI_PARAM  8

#define QUICK_TRANS_RESULT_NOT_FOUND   6
#define QUICK_TRANS_RESULT_OK          0x14

#pragma pack(push, 1)
typedef struct {
  UINT32  HeaderCrc;       // CRC-32 of bytes 0x04..0xFF
  UINT32  Signature;
  UINT16  Command;
  UINT16  Version;
  UINT32  Result;
  UINT32  Flags;
  UINT32  DataLength;
  UINT32  DataCrc;
  UINT32  Reserved;
  UINT8   Params[224];
} QUICK_TRANS_HEADER;

typedef struct {
  CHAR8   FileName[QUICK_TRANS_FILE_NAME_SIZE];
  UINT32  Option;
  UINT64  Length;
  UINT64  TotalLength;
  UINT8   Reserved[76];
} QUICK_TRANS_FILE_PARAMS;
#pragma pack(pop)

static_assert (sizeof (QUICK_TRANS_HEADER) == 256, "QUICK_TRANS_HEADER is 256 bytes");
static_assert (sizeof (QUICK_TRANS_FILE_PARAMS) == 224, "QUICK_TRANS_FILE_PARAMS fills Params");

//
// Writes up to MaxSize bytes into Buffer and stores the count in Size.
//
typedef EFI_STATUS (EFIAPI *QUICK_TRANS_DATA_HOOK)(
  IN  UINT32  MaxSize,
  OUT VOID    *Buffer,
  OUT UINT32  *Size
  );

typedef EFI_STATUS (EFIAPI *QUICK_TRANS_SEND_COMMAND)(
  IN  UINT16              Command,
  IN  VOID                *Params,
  IN  UINT32              DataLength,
  IN  VOID                *Data OPTIONAL,
  OUT QUICK_TRANS_HEADER  **Answer
  );

typedef EFI_STATUS (EFIAPI *QUICK_TRANS_PUSH_FILE)(
  IN CONST CHAR8            *FileName,
  IN UINT8                  Option,
  IN QUICK_TRANS_DATA_HOOK  Hook
  );

//
// FileData points into the answer area: valid until the next call of any member.
//
typedef EFI_STATUS (EFIAPI *QUICK_TRANS_GET_FILE)(
  IN  CONST CHAR8  *FileName,
  OUT UINT32       *FileSize,
  OUT VOID         **FileData
  );

typedef struct {
  QUICK_TRANS_SEND_COMMAND  SendCommand;
  QUICK_TRANS_PUSH_FILE     PushFile;
  QUICK_TRANS_GET_FILE      GetFile;
} QUICK_TRANS_PPI;

extern EFI_GUID gQuickTransPpiGuid;

#endif
