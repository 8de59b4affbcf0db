/** @file
  Warning codes and their texts. The high digit is the subject: 1 configuration data
  and logo, 2 memory, 3 management engines, 5 machine checks, 6 UPI, 7 processor,
  8 IIO, C firmware image, F maintenance switch. 0x200E is not a code.
**/
#include <Library/WarningLineLib.h>

CONST WARN_CODE_ENTRY  WarnCodeTable[] = {
  { 0x1001, "WARNING: Cannot obtain configuration data from QMB." },
  { 0x1002, "WARNING: Cannot parse configuration data obtained from QMB." },
  { 0x1003, "WARNING: Cannot obtain configuration data from QMB." },
  { 0x1004, "WARNING: BIOS logo file is too large." },
  { 0x2001, "WARNING: Different DIMM types are detected. System halt occurred." },
  { 0x2002, "WARNING: Some DIMMs are not initialized. Please review QMB event logs." },
  { 0x2003, "WARNING: Invalid DIMM configuration. Please check DIMM population rules!" },
  { 0x2004, "WARNING: Some DIMMs cannot be trained and have been disabled." },
  { 0x2005, "WARNING:Invalid DIMM configuration of interleaving." },
  { 0x2006, "WARNING: No memory is available or memory configuration is invalid. System halt occurred." },
  { 0x2007, "WARNING: Memory Lockstep and Rank Sparing degraded to Independent mode." },
  { 0x2008, "WARNING: Memory Lockstep and Mirror degraded to Independent mode." },
  { 0x2009, "WARNING: Memory Lockstep and Partial Mirror degraded to Independent mode." },
  { 0x200A, "WARNING: Memory Lockstep degraded to Independent mode." },
  { 0x200B, "WARNING: Memory Rank Sparing degraded to Independent mode." },
  { 0x200C, "WARNING: Memory Mirror degraded to Independent mode." },
  { 0x200D, "WARNING: Memory Partial Mirror degraded to Independent mode." },
  { 0x200F, "WARNING: Memory ADDDC degraded to Independent mode." },
  { 0x2010, "WARNING: Memory SDDC degraded to Independent mode." },
  { 0x3001, "WARNING: ME HECI access issue. Please check HECI configuration." },
  { 0x3002, "WARNING: ME firmware status issue. Please check ME configuration." },
  { 0x3003, "WARNING: IE HECI access issue. Please check HECI configuration." },
  { 0x3004, "WARNING: IE firmware status issue. Please check IE configuration." },
  { 0x5001, "WARNING: Last boot MCE detected. Please review QMB logs." },
  { 0x6001, "WARNING: System is operating in UPI link low speed mode." },
  { 0x6002, "WARNING: Unsupported UPI link speed." },
  { 0x6003, "WARNING: CPU link training issue. Topology changed after reset." },
  { 0x6004, "WARNING: Mismatched UPI link option configuration." },
  { 0x6005, "WARNING: UPI resource allocation issue." },
  { 0x6006, "WARNING: Mismatched UPI topology." },
  { 0x7001, "WARNING:CPU BIST issue. Faulty cores have been disabled." },
  { 0x7002, "WARNING: Mismatched CPU stepping." },
  { 0x7003, "WARNING: Mismatched CPU microcode." },
  { 0x7004, "WARNING: Mismatched CPU frequency." },
  { 0x7005, "WARNING: Mismatched CPU frequency and microcode." },
  { 0x7006, "WARNING: Mismatched CPU stepping and microcode." },
  { 0x7007, "WARNING: Mismatched CPU stepping and frequency." },
  { 0x7008, "WARNING: Mismatched CPU stepping, frequency, and microcode." },
  { 0x8001, "WARNING: Bandwidth or speed degrade detected for IIO port." },
  { 0xC001, "ERROR: BIOS flash firmware damaged. System halt occurred." },
  { 0xC002, "WARNING: BIOS flash firmware damaged." },
  { 0xF001, "WARNING: Maintenance switch SW6 is on." },
  { 0xF002, "WARNING: Please power off the server and then turn off the switch." },
};

CONST UINTN  WarnCodeTableCount = sizeof (WarnCodeTable) / sizeof (WarnCodeTable[0]);

CONST CHAR8 *
EFIAPI
WarnCodeText (
  IN UINT32  Code
  )
{
  UINTN  Index;

  for (Index = 0; Index < WarnCodeTableCount; Index++) {
    if (WarnCodeTable[Index].Code == Code) {
      return WarnCodeTable[Index].Text;
    }
  }

  return "Unknown Error Type!";
}
