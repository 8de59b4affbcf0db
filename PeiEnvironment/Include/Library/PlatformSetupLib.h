/** @file
  The platform setup library: the platform's setup variables as PEI modules read them.
**/
#ifndef PLATFORM_SETUP_LIB_H_
#define PLATFORM_SETUP_LIB_H_

#include <Guid/SocketMemoryVariable.h>

/**
  Reads the SocketMemoryConfig setup variable. A variable shorter than the structure
  fills only its own bytes, the rest reads as zero; on failure the whole structure is zero.
**/
EFI_STATUS
EFIAPI
GetSocketMemoryConfig (
  OUT SOCKET_MEMORY_CONFIGURATION  *Config
  );

#endif
