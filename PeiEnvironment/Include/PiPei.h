/** @file
  Everything a PEI module of this firmware includes first.
**/
#ifndef PI_PEI_H_
#define PI_PEI_H_

#include <Uefi/UefiBaseType.h>
#include <Pi/PiHob.h>
#include <Pi/PiStatusCode.h>
#include <Pi/PiFirmwareVolume.h>
#include <Pi/PiPeiCis.h>

#endif
