/** @file
  The CMOS real-time clock (MC146818 at ports 0x70/0x71) read into an EFI_TIME.
**/
#include <Library/BaseLib.h>
#include <Library/IoLib.h>
#include <Library/ZubDylLib.h>

#define RTC_INDEX_PORT       0x70
#define RTC_DATA_PORT        0x71
#define RTC_NMI_MASK         0x80
#define RTC_SECONDS          0x00
#define RTC_MINUTES          0x02
#define RTC_HOURS            0x04
#define RTC_DAY_OF_MONTH     0x07
#define RTC_MONTH            0x08
#define RTC_YEAR             0x09
#define RTC_REGISTER_A       0x0A
#define RTC_REGISTER_B       0x0B
#define RTC_REGISTER_D       0x0D
#define RTC_CENTURY          0x32
#define RTC_A_UPDATE         0x80
#define RTC_B_BINARY         0x04
#define RTC_B_24_HOUR        0x02
#define RTC_D_VALID          0x80
#define RTC_HOUR_PM          0x80
#define RTC_UPDATE_POLLS     10001

// Selects an index, keeping the NMI mask that port 0x70 holds.
STATIC VOID
RtcSelect (
  IN UINT8  Index
  )
{
  UINT8  Nmi;

  Nmi = IoRead8 (RTC_INDEX_PORT) & RTC_NMI_MASK;
  IoWrite8 (RTC_INDEX_PORT, (UINT8)(Nmi | Index));
}

STATIC UINT8
RtcRead (
  IN UINT8  Index
  )
{
  RtcSelect (Index);
  return IoRead8 (RTC_DATA_PORT);
}

STATIC VOID
RtcWrite (
  IN UINT8  Index,
  IN UINT8  Value
  )
{
  RtcSelect (Index);
  IoWrite8 (RTC_DATA_PORT, Value);
}

// Valid RAM and time, and no update in progress within the poll budget.
STATIC BOOLEAN
RtcWaitStable (
  VOID
  )
{
  UINT8   RegisterA;
  UINT32  Polls;

  if ((RtcRead (RTC_REGISTER_D) & RTC_D_VALID) == 0) {
    return FALSE;
  }

  RegisterA = RtcRead (RTC_REGISTER_A);
  for (Polls = 0; (RegisterA & RTC_A_UPDATE) != 0 && Polls < RTC_UPDATE_POLLS; Polls++) {
    RegisterA = RtcRead (RTC_REGISTER_A);
  }

  if ((RegisterA & RTC_A_UPDATE) != 0) {
    return FALSE;
  }

  return (RtcRead (RTC_REGISTER_D) & RTC_D_VALID) != 0;
}

// The century byte: the probe writes 0 and expects 0x19 or 0x20 back, which only a
// register that ignores writes gives; otherwise all 8 bits are used.
STATIC UINT8
RtcReadCentury (
  IN BOOLEAN  Bcd
  )
{
  UINT8    Saved;
  UINT8    Probe;
  UINT8    Century;
  BOOLEAN  Checked;

  Saved = RtcRead (RTC_CENTURY);
  RtcWrite (RTC_CENTURY, 0);
  Probe = RtcRead (RTC_CENTURY) & 0x7F;
  RtcWrite (RTC_CENTURY, Saved);
  Checked = (BOOLEAN)(Probe == 0x19 || Probe == 0x20);

  Century = RtcRead (RTC_CENTURY);
  if (Checked) {
    Century &= 0x7F;
  }

  //
  // The clock keeps the century in the data mode of register B like every other time
  // register; a BCD conversion of a binary century would give a year in the 1400s.
  //
  return Bcd ? BcdToDecimal8 (Century) : Century;
}

EFI_STATUS
EFIAPI
RtcReadTime (
  OUT EFI_TIME  *Time
  )
{
  UINT8    RegisterB;
  UINT8    Second;
  UINT8    Minute;
  UINT8    Hour;
  UINT8    Day;
  UINT8    Month;
  UINT8    Year;
  BOOLEAN  Pm;
  BOOLEAN  Bcd;

  if (Time == NULL) {
    return EFI_INVALID_PARAMETER;
  }

  if (!RtcWaitStable ()) {
    return EFI_UNSUPPORTED;
  }

  RegisterB = RtcRead (RTC_REGISTER_B);
  Second    = RtcRead (RTC_SECONDS);
  Minute    = RtcRead (RTC_MINUTES);
  Hour      = RtcRead (RTC_HOURS);
  Day       = RtcRead (RTC_DAY_OF_MONTH);
  Month     = RtcRead (RTC_MONTH);
  Year      = RtcRead (RTC_YEAR);

  Pm   = (BOOLEAN)((Hour & RTC_HOUR_PM) != 0);
  Hour = Hour & (UINT8)~RTC_HOUR_PM;
  Bcd  = (BOOLEAN)((RegisterB & RTC_B_BINARY) == 0);
  if (Bcd) {
    Year   = BcdToDecimal8 (Year);
    Month  = BcdToDecimal8 (Month);
    Day    = BcdToDecimal8 (Day);
    Hour   = BcdToDecimal8 (Hour);
    Minute = BcdToDecimal8 (Minute);
    Second = BcdToDecimal8 (Second);
  }

  if ((RegisterB & RTC_B_24_HOUR) == 0) {
    if (Pm && Hour < 12) {
      Hour = (UINT8)(Hour + 12);
    } else if (!Pm && Hour == 12) {
      Hour = 0;
    }
  }

  Time->Year       = (UINT16)(Year + 100 * RtcReadCentury (Bcd));
  Time->Month      = Month;
  Time->Day        = Day;
  Time->Hour       = Hour;
  Time->Minute     = Minute;
  Time->Second     = Second;
  Time->Pad1       = 0;
  Time->Nanosecond = 0;
  Time->TimeZone   = EFI_UNSPECIFIED_TIMEZONE;
  Time->Daylight   = 0;
  Time->Pad2       = 0;
  return EFI_SUCCESS;
}
