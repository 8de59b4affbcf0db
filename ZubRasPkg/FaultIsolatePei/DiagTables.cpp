/** @file
  The module's data: device classes by state, board location tables, status, failure and
  action texts.
**/
#include "FaultIsolate.h"

#define ARRAY_COUNT(a)  (sizeof (a) / sizeof ((a)[0]))
#define DIAG_STATUS     "Hardware Diagnosis Boot: Current status is "
#define DIAG_EXCEPTION  "Hardware Diagnosis Exception: "

CONST HW_DIAG_CLASS_MAP  mHwDiagClassMap[] = {
  { 1, 0, 0, HW_DIAG_CLASS_PCH,      1 },
  { 1, 1, 0, HW_DIAG_CLASS_PCH_PCIE, 1 },
  { 1, 2, 0, HW_DIAG_CLASS_USB,      1 },
  { 1, 3, 0, HW_DIAG_CLASS_SATA,     1 },
  { 1, 4, 0, HW_DIAG_CLASS_SSATA,    1 },
  { 1, 5, 0, HW_DIAG_CLASS_PCH,      1 },
  { 2, 0, 1, HW_DIAG_CLASS_IIO_PCIE, 0 },
  { 3, 0, 1, HW_DIAG_CLASS_MEMORY,   0 },
  { 4, 0, 1, HW_DIAG_CLASS_CPU,      0 },
};
CONST UINTN  mHwDiagClassMapCount = ARRAY_COUNT (mHwDiagClassMap);

CONST HW_DIAG_STATUS_TEXT  mHwDiagStatusText[] = {
  { 0, 0, 0, DIAG_STATUS "in preparing phase.", " " },
  { 0, 1, 0, DIAG_STATUS "in preparing phase.", " " },
  { 1, 1, 0, DIAG_STATUS "booting with all devices connected to PCH disabled.", " " },
  { 1, 2, 0, DIAG_STATUS "booting with all devices connected to IIO disabled.", " " },
  { 1, 3, 0, DIAG_STATUS "booting with all memories disabled.", " " },
  { 2, 1, 1, DIAG_STATUS "booting with all pcie devices connected to PCH pcie root port disabled.", " " },
  { 2, 1, 2, DIAG_STATUS "booting with all usb devices connected to PCH disabled.", " " },
  { 2, 1, 3, DIAG_STATUS "booting with all sata devices connected to PCH sata controller disabled.", " " },
  { 2, 1, 4, DIAG_STATUS "booting with all sata devices connected to PCH sSata controller disabled.", " " },
  { 2, 2, 0, DIAG_STATUS "booting with all pcie devices connected to CPU", "'s IIO disabled." },
  { 2, 3, 0, DIAG_STATUS "booting with CPU", "'s memories disabled." },
  { 2, 4, 0, DIAG_STATUS "booting with CPUs disabled that start from CPU ", " ." },
  { 3, 1, 1, DIAG_STATUS "booting for checking pcie device one by one that connected to PCH pcie root port.", " " },
  { 3, 1, 2, DIAG_STATUS "booting for checking usb device one by one that connected to PCH.", " " },
  { 3, 1, 3, DIAG_STATUS "booting for checking sata device one by one that connected to PCH sata controller.", " " },
  { 3, 1, 4, DIAG_STATUS "booting for checking sata device one by one that connected to PCH sSata controller.", " " },
  { 3, 2, 0, DIAG_STATUS "booting for checking pcie device one by one that connected to CPU", "'s IIO." },
  { 3, 3, 0, DIAG_STATUS "booting for checking CPU", "'s memory one by one." },
  { 3, 4, 0, DIAG_STATUS "booting for checking CPU", "'s core one by one." },
  { 4, 0, 0, "Hardware Isolation Boot: Current status is normal boot with failed device disabled.", " " },
};
CONST UINTN  mHwDiagStatusTextCount = ARRAY_COUNT (mHwDiagStatusText);

CONST HW_DIAG_FAIL_TEXT  mHwDiagFailText[] = {
  { 0xFF, 0x00, 1,  DIAG_EXCEPTION "No dimm available." },
  { 0xFF, 0x00, 2,  DIAG_EXCEPTION "Dimm compatibility issue - Mixed NVDIMM and UDIMM." },
  { 0xFF, 0x00, 3,  DIAG_EXCEPTION "Dimm compatibility issue - Mixed memory type." },
  { 0xFF, 0x00, 4,  DIAG_EXCEPTION "Dimm compatibility issue - Memory type mismatch." },
  { 0xFF, 0x00, 5,  DIAG_EXCEPTION "Interleave ways exceeded max channel of IMC." },
  { 0xFF, 0x00, 6,  DIAG_EXCEPTION "NVDIMM configuration rules violated." },
  { 0xFF, 0x00, 7,  DIAG_EXCEPTION "NVDIMM configuration rules violated." },
  { 0xFF, 0x00, 8,  DIAG_EXCEPTION "NVDIMM partition configure mismatch across other NVDIMM." },
  { 0xFF, 0x00, 9,  DIAG_EXCEPTION "Dimm SKU mismatch." },
  { 0xFF, 0x00, 10, DIAG_EXCEPTION "All CPU BIST error." },
  { 0xFF, 0x00, 11, DIAG_EXCEPTION "Reading SKU limit from PCU fail." },
  { 0xFF, 0x00, 12, DIAG_EXCEPTION "Send PCU command fail." },
  { 0xFF, 0x00, 13, DIAG_EXCEPTION "MRC SubBootMode invalid." },
  { 0xFF, 0x00, 14, DIAG_EXCEPTION "MRC promote warning list full" },
  { 0xFF, 0x00, 15, DIAG_EXCEPTION "RIR rule exceeded while rank interleaving." },
  { 0xFF, 0x00, 16, DIAG_EXCEPTION "CMI initialization fail." },
  { 0xFF, 0x00, 17, DIAG_EXCEPTION "CPU MP init fail. Please try again." },
  { 0x10, 0x00, 0,  "Diagnosis pre-check: Normal startup succeeded. No need to perform diagnosis." },
  { 0x01, 0x00, 0,  "Diagnosis failed. CPU (not CPU 1) might have failed." },
  { 0x02, 0x00, 0,  "Diagnosis failed. Memory module might have failed." },
  { 0x03, 0x00, 0,  "Diagnosis failed. PCIe device might have failed." },
  { 0x04, 0x01, 0,  "Diagnosis failed. SATA, USB, or PCIe device connected to the PCH might have failed." },
  { 0x05, 0x01, 0,  "Diagnosis failed. SATA device connected to the PCH might have failed." },
  { 0x06, 0x01, 0,  "Diagnosis failed. SATA device connected to the PCH might have failed." },
  { 0x07, 0x01, 0,  "Diagnosis failed. USB device connected to the PCH might have failed." },
  { 0x08, 0x01, 0,  "Diagnosis failed. PCIe device connected to the PCH might have failed." },
};
CONST UINTN  mHwDiagFailTextCount = ARRAY_COUNT (mHwDiagFailText);

//
// PCH PCIe root ports 1-20: high nibble 3 onboard NIC, 5 M.2 slot (low nibble).
//
CONST UINT8  mPchRootPortPlacement[] = {
  0x20, 0x00, 0x30, 0x00, 0x00, 0x00, 0x51, 0x52, 0x00, 0x00,
  0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
};
CONST UINTN  mPchRootPortCount = ARRAY_COUNT (mPchRootPortPlacement);

//
// sSATA ports 0-8: high nibble 4 M.2 slot (low nibble).
//
CONST UINT8  mSsataPortPlacement[] = { 0x00, 0x41, 0x42, 0x10, 0x10, 0x10, 0x10, 0x00, 0x00 };
CONST UINTN  mSsataPortCount = ARRAY_COUNT (mSsataPortPlacement);

//
// USB ports 1-14.
//
CONST HW_DIAG_USB_LOCATION  mUsbLocation[] = {
  { 0x20, 0xFF, { 'B', 'M', 'C', '-', '-' } },
  { 0x00, 0xFF, { 'N', 'C', '-', '-', '-' } },
  { 0x10, 3,    { 'R', 'E', 'A', 'R', 'D' } },
  { 0x10, 4,    { 'R', 'E', 'A', 'R', 'U' } },
  { 0x10, 5,    { 'I', 'N', 'T', 'R', '1' } },
  { 0x10, 6,    { 'I', 'N', 'T', 'R', '2' } },
  { 0x10, 8,    { 'E', 'A', 'R', 'L', '-' } },
  { 0x00, 0xFF, { 'N', 'C', '-', '-', '-' } },
  { 0x00, 0xFF, { 'N', 'C', '-', '-', '-' } },
  { 0x00, 0xFF, { 'N', 'C', '-', '-', '-' } },
  { 0x10, 1,    { 'E', 'A', 'R', 'R', '-' } },
  { 0x00, 0xFF, { 'N', 'C', '-', '-', '-' } },
  { 0x10, 2,    { 'D', 'S', 'D', '-', '-' } },
  { 0x00, 0xFF, { 'N', 'C', '-', '-', '-' } },
};
CONST UINTN  mUsbPortCount = ARRAY_COUNT (mUsbLocation);

static_assert (sizeof (HW_DIAG_USB_LOCATION) == 7, "a USB location record is 7 bytes");

CONST CHAR8 *CONST  mHwDiagActionSentence[ActionCount] = {
  "  The CPU core will be disabled.",
  "  The CPU will be disabled.",
  " The memory module and the corresponding memory modules will be disabled.",
  " The memory module and the corresponding memory modules and NVDIMMs will be disabled.",
  " The NVDIMMs and the corresponding memory modules will be disabled.",
  " The slot will be disabled.",
  " The port will be disabled.",
  " The USB device will be disabled.",
  " The PCIe device will be disabled.",
};
