/** @file
  GUIDs of the logo package: the flash logo area's magic, the boot configuration
  variable's vendor GUID and LogoCachePei's file name (its status-code caller ID).
**/
#ifndef ZUB_LOGO_GUIDS_H_
#define ZUB_LOGO_GUIDS_H_

#include <Uefi/UefiBaseType.h>

extern EFI_GUID  gZubLogoFlashMagicGuid;
extern EFI_GUID  gZubBootConfigurationGuid;
extern EFI_GUID  gZubLogoCachePeiFileGuid;

#endif
