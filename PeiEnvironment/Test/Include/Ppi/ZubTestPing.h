/** @file
  Test PPIs: Ping is installed by PingPei; PongPei answers it once it appears.
**/
#ifndef ZUB_TEST_PING_H_
#define ZUB_TEST_PING_H_

#include <PiPei.h>

typedef UINT32 (EFIAPI *ZUB_TEST_PING)(IN UINT32 Value);

typedef struct {
  ZUB_TEST_PING  Ping;
} ZUB_TEST_PING_PPI;

typedef struct {
  UINT32  Answer;       // what Ping returned to PongPei's notification
  UINT32  EntryCount;   // PongPei's entries since its image was loaded
} ZUB_TEST_PONG_PPI;

extern EFI_GUID gZubTestPingPpiGuid;
extern EFI_GUID gZubTestPongPpiGuid;

#endif
