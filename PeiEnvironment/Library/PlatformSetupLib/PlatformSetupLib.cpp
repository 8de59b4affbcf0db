/** @file
  The platform setup library over the read-only variable service.
**/
#include <Library/PlatformSetupLib.h>

#include <Ppi/ReadOnlyVariable2.h>
#include <Library/BaseMemoryLib.h>
#include <Library/PeiServicesLib.h>

EFI_STATUS
EFIAPI
GetSocketMemoryConfig (
  OUT SOCKET_MEMORY_CONFIGURATION  *Config
  )
{
  EFI_PEI_READ_ONLY_VARIABLE2_PPI  *Variables;
  EFI_STATUS                       Status;
  UINTN                            Size;

  if (Config == NULL) {
    return EFI_INVALID_PARAMETER;
  }
  ZeroMem (Config, sizeof (*Config));
  Status = PeiServicesLocatePpi (&gEfiPeiReadOnlyVariable2PpiGuid, 0, NULL, (VOID **)&Variables);
  if (EFI_ERROR (Status)) {
    return Status;
  }
  Size   = sizeof (*Config);
  Status = Variables->GetVariable (Variables, SOCKET_MEMORY_CONFIG_VARIABLE_NAME, &gSocketMemoryVariableGuid, NULL,
                                   &Size, Config);
  if (EFI_ERROR (Status)) {
    //
    // A variable larger than this version's structure belongs to other setup definitions.
    //
    ZeroMem (Config, sizeof (*Config));
  }
  return Status;
}
