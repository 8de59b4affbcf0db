/** @file
  DYL time stamp: seconds since 1970-01-01 00:00:00 of the clock's date and time,
  taken as it is (no time zone or daylight adjustment).
**/
#include <Library/ZubDylLib.h>

STATIC CONST UINT16  mDaysBeforeMonth[12] = { 0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334 };

STATIC BOOLEAN
IsLeapYear (
  IN UINT32  Year
  )
{
  return (BOOLEAN)((Year % 4) == 0 && ((Year % 100) != 0 || (Year % 400) == 0));
}

// Leap years among 1970 ... Year inclusive, less one before March of a leap year.
STATIC UINT32
LeapDaysThrough (
  IN UINT32  Year,
  IN UINT32  Month
  )
{
  UINT32  LeapDays;
  UINT32  Y;

  if (Year >= 2020 && Year <= 2023) {
    LeapDays = 13;
  } else if (Year == 2019) {
    LeapDays = 12;
  } else {
    LeapDays = 0;
    for (Y = 1970; Y <= Year; Y++) {
      LeapDays += IsLeapYear (Y) ? 1 : 0;
    }
  }

  if (IsLeapYear (Year) && LeapDays != 0 && Month < 3) {
    LeapDays--;
  }

  return LeapDays;
}

EFI_STATUS
EFIAPI
DylGetTimeStamp (
  OUT UINT32  *Seconds
  )
{
  EFI_TIME    Time;
  EFI_STATUS  Status;
  UINT32      MonthDays;
  UINT32      Days;

  if (Seconds == NULL) {
    return EFI_INVALID_PARAMETER;
  }

  Status = RtcReadTime (&Time);
  if (Status == EFI_UNSUPPORTED) {
    return EFI_UNSUPPORTED;
  }

  //
  // A month outside 1-12 (an unset clock) contributes no days rather than reading past
  // the table.
  //
  MonthDays = (Time.Month >= 1 && Time.Month <= 12) ? mDaysBeforeMonth[Time.Month - 1] : 0;
  Days      = ((UINT32)Time.Year - 1970) * 365 + MonthDays + Time.Day + LeapDaysThrough (Time.Year, Time.Month);
  *Seconds  = (((Days * 24 + Time.Hour) * 60 + Time.Minute) * 60 + Time.Second) - 86400;
  return EFI_SUCCESS;
}
