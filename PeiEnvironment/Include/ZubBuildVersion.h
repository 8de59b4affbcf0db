/** @file
  The firmware's build version text, fixed when the firmware is built.
**/
#ifndef ZUB_BUILD_VERSION_H_
#define ZUB_BUILD_VERSION_H_

#define ZUB_FIRMWARE_BUILD_VERSION  "ZUB5120 1.02.07.0311"

#endif
