/** @file
  The memory reference code's revision text, fixed when the firmware is built.
**/
#ifndef RC_REVISION_H_
#define RC_REVISION_H_

#define RC_REVISION_TEXT  u"ICX MRC 0.27.D30"

#endif
