/** @file
  ZUB_LOG_PPI of the PEI debug-log capture: SetLogRange declares the window of video
  memory that holds the PEI debug log. The VGA bring-up calls it once, when present.
**/
#ifndef ZUB_LOG_H_
#define ZUB_LOG_H_

#include <PiPei.h>

typedef struct _ZUB_LOG_PPI ZUB_LOG_PPI;

typedef EFI_STATUS (EFIAPI *ZUB_LOG_SET_LOG_RANGE)(
  IN ZUB_LOG_PPI  *This,
  IN UINT32       Base,
  IN UINT32       Length
  );

struct _ZUB_LOG_PPI {
  ZUB_LOG_SET_LOG_RANGE  SetLogRange;
};

extern EFI_GUID gZubLogPpiGuid;

#endif
