/** @file
  The SocketMemoryConfig setup variable: the platform's memory setup options. Only the
  fields the modules read are named; the rest belongs to the platform's setup definitions.
**/
#ifndef SOCKET_MEMORY_VARIABLE_H_
#define SOCKET_MEMORY_VARIABLE_H_

#include <PiPei.h>

#define SOCKET_MEMORY_CONFIG_VARIABLE_NAME  u"SocketMemoryConfig"
#define SOCKET_MEMORY_CONFIG_SIZE           741

#pragma pack(push, 1)
typedef struct {
  UINT8  Reserved0[75];
  UINT8  AdvMemTestEnable;          // the memory test switch: 0 off
  UINT8  Reserved76[SOCKET_MEMORY_CONFIG_SIZE - 76];
} SOCKET_MEMORY_CONFIGURATION;
#pragma pack(pop)

static_assert (sizeof (SOCKET_MEMORY_CONFIGURATION) == SOCKET_MEMORY_CONFIG_SIZE, "SocketMemoryConfig layout");
static_assert (OFFSET_OF (SOCKET_MEMORY_CONFIGURATION, AdvMemTestEnable) == 75, "the memory test switch is byte 75");

extern EFI_GUID gSocketMemoryVariableGuid;

#endif
