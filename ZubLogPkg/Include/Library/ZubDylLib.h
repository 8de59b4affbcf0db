/** @file
  DYL reports: one diagnosis or warning event as an OEM IPMI request to the BMC
  (NetFn 0x36, command 0x04, sub-command 0x13), with a time stamp from the CMOS clock.

  A module linking the library defines gZubDylAttributeWord, the attribute word its
  reports carry (0x0000 FaultIsolatePei, 0x2200 WarnLogCheckPei).
**/
#ifndef ZUB_DYL_LIB_H_
#define ZUB_DYL_LIB_H_

#include <PiPei.h>

#ifndef EFI_TIME_DEFINED
#define EFI_TIME_DEFINED
typedef struct {
  UINT16  Year;
  UINT8   Month;
  UINT8   Day;
  UINT8   Hour;
  UINT8   Minute;
  UINT8   Second;
  UINT8   Pad1;
  UINT32  Nanosecond;
  INT16   TimeZone;
  UINT8   Daylight;
  UINT8   Pad2;
} EFI_TIME;
#define EFI_UNSPECIFIED_TIMEZONE  0x07FF
#endif

#define DYL_IANA_BYTE0        0x5B
#define DYL_IANA_BYTE1        0x4E
#define DYL_IANA_BYTE2        0x00
#define DYL_SUBCOMMAND        0x13
#define DYL_RECORD_MARKER     0xA8
#define DYL_TYPE              0x0001
#define DYL_IPMI_NETFN        0x36
#define DYL_IPMI_COMMAND      0x04
#define DYL_MAX_DATA_LENGTH   234

#define DYL_ATTRIBUTE_FAULT_ISOLATE  0x0000
#define DYL_ATTRIBUTE_WARN_LOG       0x2200

#pragma pack(push, 1)
typedef struct {
  UINT8   Iana[3];
  UINT8   SubCommand;
  UINT8   RecordMarker;
  UINT8   RecordLength;     // bytes from RecordMarker to the end of the message
  UINT8   Reserved[4];
  UINT16  Type;
  UINT8   Class;
  UINT8   SClass;
  UINT8   SSClass;
  UINT32  TimeStamp;
  UINT16  Attribute;
  // UINT8 Data[DataLength] follows
} DYL_MSG;
#pragma pack(pop)

static_assert (sizeof (DYL_MSG) == 21, "DYL header is 21 bytes");

extern CONST UINT16  gZubDylAttributeWord;

EFI_STATUS EFIAPI DylReport (IN UINT8 Class, IN UINT8 SClass, IN UINT8 SSClass, IN CONST UINT8 *Data,
                             IN UINT8 DataLength);
EFI_STATUS EFIAPI SendDylMsgWorker (IN UINT8 *Message, IN UINT8 Length);
EFI_STATUS EFIAPI DylGetTimeStamp (OUT UINT32 *Seconds);
EFI_STATUS EFIAPI RtcReadTime (OUT EFI_TIME *Time);

#endif
