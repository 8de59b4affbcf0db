/** @file
  IIO platform hooks: the reference code's IIO initialisation calls this table. Member 1
  reports the platform's chosen port, member 11 publishes the per-socket map for later
  phases; the rest have nothing to do on this board.
**/
#include <PiPei.h>
#include <Ppi/IioHooks.h>
#include <Library/BaseMemoryLib.h>
#include <Library/DebugLib.h>
#include <Library/HobLib.h>
#include <Library/PcdLib.h>
#include <Library/PeiServicesLib.h>

STATIC VOID EFIAPI IioHookNoOp (IN VOID *IioData) {}

STATIC VOID EFIAPI
IioPortDetailsHook (
  IN VOID    *IioData,
  IN UINT8   Index,
  OUT UINT8  *PortOut,
  OUT UINT8  *Out2,
  OUT UINT8  *Out3,
  OUT UINT8  *Out4
  )
{
  CONST UINT8  *Data = (CONST UINT8 *)IioData;
  UINT8        Port;

  *PortOut = 0xFF;
  *Out2    = 0xFF;
  *Out3    = 0xFF;
  *Out4    = 0xFF;
  if (Index != 0) {
    return;    // a second IIO instance has no platform port
  }
  Port     = PcdGet8 (PcdIioHookPortIndex);
  *PortOut = Port;
  if ((Port == 0xFF) || (Port >= IIO_MAX_HOOK_PORTS) || (Port >= Data[IIO_DATA_PORT_COUNT])) {
    return;
  }
  *Out2 = Data[IIO_DATA_PORT_BYTE + Port];
  *Out3 = Data[IIO_DATA_PORT_RECORDS + IIO_DATA_PORT_RECORD_SIZE * Port];
  *Out4 = Data[IIO_DATA_PORT_RECORDS + IIO_DATA_PORT_RECORD_SIZE * Port + 1];
}

STATIC VOID EFIAPI
PublishSocketMapHook (
  IN VOID  *IioData
  )
{
  CONST UINT8     *Data = (CONST UINT8 *)IioData;
  IIO_SOCKET_MAP  Map;
  UINTN           Socket;

  ZeroMem (&Map, sizeof (Map));
  for (Socket = 0; Socket < IIO_MAX_SOCKETS; Socket++) {
    if (Data[IIO_DATA_SOCKET_PRESENT + Socket] == 0) {
      continue;
    }
    Map.Socket[Socket].Valid      = 1;
    Map.Socket[Socket].SocketId   = (UINT8)Socket;
    Map.Socket[Socket].SocketByte = Data[IIO_DATA_SOCKET_BYTE + Socket];
    Map.Socket[Socket].StackByteA = Data[IIO_DATA_STACK_BYTE_A + IIO_STACKS_PER_SOCKET * Socket];
    Map.Socket[Socket].StackByteB = Data[IIO_DATA_STACK_BYTE_B + IIO_STACKS_PER_SOCKET * Socket];
  }
  if (BuildGuidDataHob (&gEfiOpaSocketMapHobGuid, &Map, sizeof (Map)) != NULL) {
    DEBUG ((DEBUG_INFO, "gEfiOpaSocketMapHobGuid Published!!!\n"));
  } else {
    DEBUG ((DEBUG_ERROR, "ERROR: gEfiOpaSocketMapHobGuid could not be Published\n"));
  }
}

STATIC IIO_HOOKS_PPI  mIioHooks = {
  IioHookNoOp,
  IioPortDetailsHook,
  IioHookNoOp,
  IioHookNoOp,
  IioHookNoOp,
  IioHookNoOp,
  IioHookNoOp,
  IioHookNoOp,
  IioHookNoOp,
  IioHookNoOp,
  IioHookNoOp,
  PublishSocketMapHook
};

STATIC EFI_PEI_PPI_DESCRIPTOR  mIioHooksDescriptor = {
  EFI_PEI_PPI_DESCRIPTOR_PPI | EFI_PEI_PPI_DESCRIPTOR_TERMINATE_LIST,
  &gIioHooksPpiGuid,
  &mIioHooks
};

extern "C" EFI_STATUS EFIAPI
SocketMapPeimEntry (
  IN EFI_PEI_FILE_HANDLE     FileHandle,
  IN CONST EFI_PEI_SERVICES  **PeiServices
  )
{
  EFI_STATUS  Status;

  Status = PeiServicesInstallPpi (&mIioHooksDescriptor);
  ASSERT_EFI_ERROR (Status);
  return Status;
}
