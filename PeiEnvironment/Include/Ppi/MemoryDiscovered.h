/** @file
  Memory discovered: installed once permanent memory is available.
**/
#ifndef PPI_MEMORY_DISCOVERED_H_
#define PPI_MEMORY_DISCOVERED_H_

#include <PiPei.h>

extern EFI_GUID gEfiPeiMemoryDiscoveredPpiGuid;

#endif
