/** @file
  DebugLib over the platform's debug print service. The fixed mask 0x80000046 decides
  what is passed on; the service itself formats and writes the text. When the service is
  not installed, messages and assertions are dropped.
**/
#include <PiPei.h>
#include <Ppi/DebugService.h>
#include <Library/DebugLib.h>
#include <Library/PeiServicesLib.h>

STATIC DEBUG_SERVICE_PPI *
LocateDebugService (
  VOID
  )
{
  DEBUG_SERVICE_PPI  *Service;

  if (EFI_ERROR (PeiServicesLocatePpi (&gZubDebugServicePpiGuid, 0, NULL, (VOID **)&Service))) {
    return NULL;
  }
  return Service;
}

BOOLEAN EFIAPI DebugPrintLevelEnabled (IN UINTN ErrorLevel)
{
  return (BOOLEAN)((ErrorLevel & DEBUG_PRINT_ERROR_LEVEL_MASK) != 0);
}

VOID EFIAPI DebugVPrint (IN UINTN ErrorLevel, IN CONST CHAR8 *Format, IN VA_LIST Marker)
{
  DEBUG_SERVICE_PPI  *Service;

  if (!DebugPrintLevelEnabled (ErrorLevel) || Format == NULL) {
    return;
  }
  Service = LocateDebugService ();
  if (Service != NULL) {
    Service->DebugPrint (ErrorLevel, Format, Marker);
  }
}

VOID EFIAPI DebugPrint (IN UINTN ErrorLevel, IN CONST CHAR8 *Format, ...)
{
  VA_LIST  Marker;

  VA_START (Marker, Format);
  DebugVPrint (ErrorLevel, Format, Marker);
  VA_END (Marker);
}

VOID EFIAPI DebugAssert (IN CONST CHAR8 *FileName, IN UINTN LineNumber, IN CONST CHAR8 *Description)
{
  DEBUG_SERVICE_PPI  *Service = LocateDebugService ();

  if (Service != NULL) {
    Service->DebugAssert (FileName, LineNumber, Description);
  }
}
