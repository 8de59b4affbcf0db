/** @file
  NVRAM variables the boot mode comes from.
**/
#ifndef BOOT_MODE_VARIABLES_H_
#define BOOT_MODE_VARIABLES_H_

#include <PiPei.h>

#define FIXED_BOOT_PRIORITIES_VARIABLE_NAME   u"FixedBootPriorities"
#define FIXED_BOOT_PRIORITIES_SIZE            66
#define FIXED_BOOT_PRIORITIES_BOOT_MODE       1      // byte 1: 0 legacy, 1 UEFI
#define ZUB_RECOVERY_BOOT_MODE_VARIABLE_NAME  u"ZubRecoveryBootMode"

extern EFI_GUID gFixedBootPrioritiesVariableGuid;
extern EFI_GUID gZubRecoveryBootModeVariableGuid;

#endif
