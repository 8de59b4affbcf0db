/** @file
  Pre-reset callback PPI: each instance's first function is called with 0 before a reset.
**/
#ifndef PPI_PRE_RESET_CALLBACK_H_
#define PPI_PRE_RESET_CALLBACK_H_

#include <PiPei.h>

typedef VOID (EFIAPI *PRE_RESET_CALLBACK)(IN UINTN ResetType);

typedef struct {
  PRE_RESET_CALLBACK  PreResetCallback;
} PRE_RESET_CALLBACK_PPI;

extern EFI_GUID gPreResetCallbackPpiGuid;

#endif
