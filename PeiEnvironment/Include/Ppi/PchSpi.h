/** @file
  PCH SPI flash PPI.

  On the 32-bit platform the functions the modules use sit at byte offsets 0x08 (write),
  0x0C (erase) and 0x20 (region query) after a 32-bit revision; that is function slots
  1, 2 and 7. The structure is defined by slot so that it keeps its meaning on a host
  build where pointers are 8 bytes wide.
**/
#ifndef PPI_PCH_SPI_H_
#define PPI_PCH_SPI_H_

#include <PiPei.h>

typedef enum {
  FlashRegionDescriptor = 0,
  FlashRegionBios       = 1,
  FlashRegionMe         = 2,
  FlashRegionGbE        = 3,
  FlashRegionPlatformData = 4,
  FlashRegionAll        = 8,
  FlashRegionMax
} FLASH_REGION_TYPE;

typedef struct _PCH_SPI_PPI PCH_SPI_PPI;

typedef EFI_STATUS (EFIAPI *PCH_SPI_FLASH_READ)(
  IN PCH_SPI_PPI *This, IN FLASH_REGION_TYPE Region, IN UINT32 Address, IN UINT32 ByteCount, OUT UINT8 *Buffer);
typedef EFI_STATUS (EFIAPI *PCH_SPI_FLASH_WRITE)(
  IN PCH_SPI_PPI *This, IN FLASH_REGION_TYPE Region, IN UINT32 Address, IN UINT32 ByteCount, IN UINT8 *Buffer);
typedef EFI_STATUS (EFIAPI *PCH_SPI_FLASH_ERASE)(
  IN PCH_SPI_PPI *This, IN FLASH_REGION_TYPE Region, IN UINT32 Address, IN UINT32 ByteCount);
typedef EFI_STATUS (EFIAPI *PCH_SPI_FLASH_OTHER)(IN PCH_SPI_PPI *This);
typedef EFI_STATUS (EFIAPI *PCH_SPI_GET_REGION_ADDRESS)(
  IN PCH_SPI_PPI *This, IN FLASH_REGION_TYPE Region, OUT UINT32 *BaseAddress, OUT UINT32 *RegionSize);

struct _PCH_SPI_PPI {
  UINT32                      Revision;
  PCH_SPI_FLASH_READ          FlashRead;          // slot 0
  PCH_SPI_FLASH_WRITE         FlashWrite;         // slot 1 (byte 0x08 of the 32-bit PPI)
  PCH_SPI_FLASH_ERASE         FlashErase;         // slot 2 (byte 0x0C)
  PCH_SPI_FLASH_OTHER         FlashReadSfdp;      // slot 3
  PCH_SPI_FLASH_OTHER         FlashReadJedecId;   // slot 4
  PCH_SPI_FLASH_OTHER         FlashWriteStatus;   // slot 5
  PCH_SPI_FLASH_OTHER         FlashReadStatus;    // slot 6
  PCH_SPI_GET_REGION_ADDRESS  GetRegionAddress;   // slot 7 (byte 0x20)
};

extern EFI_GUID gPchSpiPpiGuid;

#endif
