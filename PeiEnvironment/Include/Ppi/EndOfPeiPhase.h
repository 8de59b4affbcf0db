/** @file
  End-of-PEI signal: installed once, when the PEI phase ends; used for notifications.
**/
#ifndef PPI_END_OF_PEI_PHASE_H_
#define PPI_END_OF_PEI_PHASE_H_

#include <PiPei.h>

extern EFI_GUID gEfiEndOfPeiSignalPpiGuid;

#endif
