/** @file
  Status-code data type used by the modules' own status codes.
**/
#ifndef GUID_STATUS_CODE_DATA_TYPE_ID_H_
#define GUID_STATUS_CODE_DATA_TYPE_ID_H_

#include <PiPei.h>

extern EFI_GUID gEfiStatusCodeSpecificDataGuid;

#endif
