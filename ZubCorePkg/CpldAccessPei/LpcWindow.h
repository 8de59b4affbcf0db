/** @file
  The PCH decodes the CPLD's 64 KB memory window to LPC only while its generic memory
  range is enabled in both copies of the range register.
**/
#ifndef LPC_WINDOW_H_
#define LPC_WINDOW_H_

#include <PiPei.h>

typedef struct {
  UINTN   Bracket;        // configuration register cleared while the window is open
  UINT32  BracketSaved;
} LPC_WINDOW;

VOID LpcWindowOpen (OUT LPC_WINDOW *Window, IN UINT32 CpldBase);
VOID LpcWindowClose (IN LPC_WINDOW *Window);

#endif
