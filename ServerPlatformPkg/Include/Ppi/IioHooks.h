/** @file
  The platform's hooks that the reference code's IIO initialisation calls, each with its
  IIO data block first.
**/
#ifndef IIO_HOOKS_H_
#define IIO_HOOKS_H_

#include <PiPei.h>

// Fields of the reference code's IIO data block that the hooks read.
#define IIO_DATA_SOCKET_PRESENT     0x291D   // UINT8[4]
#define IIO_DATA_SOCKET_BYTE        0x2959   // UINT8[4]
#define IIO_DATA_STACK_BYTE_A       0x2991   // UINT8[4][6]
#define IIO_DATA_STACK_BYTE_B       0x29A9   // UINT8[4][6]
#define IIO_DATA_PORT_BYTE          0x2A7D   // UINT8 per port
#define IIO_DATA_PORT_RECORDS       0x2D0A   // 10-byte records per port
#define IIO_DATA_PORT_RECORD_SIZE   10
#define IIO_DATA_PORT_COUNT         0x3131   // UINT8
#define IIO_DATA_MIN_SIZE           0x3132
#define IIO_MAX_SOCKETS             4
#define IIO_STACKS_PER_SOCKET       6
#define IIO_MAX_HOOK_PORTS          21

typedef VOID (EFIAPI *IIO_HOOK)(IN VOID *IioData);
typedef VOID (EFIAPI *IIO_PORT_DETAILS_HOOK)(IN VOID *IioData, IN UINT8 Index, OUT UINT8 *PortOut,
                                             OUT UINT8 *Out2, OUT UINT8 *Out3, OUT UINT8 *Out4);

typedef struct {
  IIO_HOOK               Hook0;
  IIO_PORT_DETAILS_HOOK  IioPortDetailsHook;
  IIO_HOOK               Hook2;
  IIO_HOOK               Hook3;
  IIO_HOOK               Hook4;
  IIO_HOOK               Hook5;
  IIO_HOOK               Hook6;
  IIO_HOOK               Hook7;
  IIO_HOOK               Hook8;
  IIO_HOOK               Hook9;
  IIO_HOOK               Hook10;
  IIO_HOOK               PublishSocketMapHook;
} IIO_HOOKS_PPI;

// The socket map HOB's data: 24 reserved bytes, then one 8-byte entry per socket.
#pragma pack(push, 1)
typedef struct {
  UINT8  Valid;
  UINT8  SocketId;
  UINT8  SocketByte;
  UINT8  StackByteA;
  UINT8  StackByteB;
  UINT8  Reserved[3];
} IIO_SOCKET_MAP_ENTRY;

typedef struct {
  UINT8                 Reserved[24];
  IIO_SOCKET_MAP_ENTRY  Socket[IIO_MAX_SOCKETS];
} IIO_SOCKET_MAP;
#pragma pack(pop)

STATIC_ASSERT (sizeof (IIO_SOCKET_MAP) == 56, "the socket map HOB carries 56 data bytes");

extern EFI_GUID gIioHooksPpiGuid;
extern EFI_GUID gEfiOpaSocketMapHobGuid;

#endif
