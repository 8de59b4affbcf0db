/** @file
  Debug print service PPI of the platform: slot 0 prints, slot 1 reports an assertion.
**/
#ifndef PPI_DEBUG_SERVICE_H_
#define PPI_DEBUG_SERVICE_H_

#include <PiPei.h>

typedef VOID (EFIAPI *DEBUG_SERVICE_PRINT)(IN UINTN ErrorLevel, IN CONST CHAR8 *Format, IN VA_LIST Marker);
typedef VOID (EFIAPI *DEBUG_SERVICE_ASSERT)(IN CONST CHAR8 *FileName, IN UINTN LineNumber, IN CONST CHAR8 *Description);

typedef struct {
  DEBUG_SERVICE_PRINT   DebugPrint;
  DEBUG_SERVICE_ASSERT  DebugAssert;
} DEBUG_SERVICE_PPI;

extern EFI_GUID gZubDebugServicePpiGuid;

#endif
