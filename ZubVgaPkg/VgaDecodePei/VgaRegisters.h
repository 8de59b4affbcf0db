/** @file
  The AST2500's VGA registers through the legacy I/O ports. Indexed registers (sequencer,
  CRTC, graphics) take the index on the first port and the data on the next; the
  attribute controller takes index and data alternately on 0x3C0, its flip-flop reset by
  reading the input status registers. Extended CRTC registers (0x80 and above) are
  writable only while CR80 holds 0xA8.
**/
#ifndef VGA_REGISTERS_H_
#define VGA_REGISTERS_H_

#include <Uefi/UefiBaseType.h>

#define VGA_ATTRIBUTE_PORT       0x3C0
#define VGA_MISC_OUTPUT_WRITE    0x3C2
#define VGA_ENABLE_PORT          0x3C3
#define VGA_SEQUENCER_INDEX      0x3C4
#define VGA_DAC_MASK             0x3C6
#define VGA_DAC_WRITE_INDEX      0x3C8
#define VGA_DAC_DATA             0x3C9
#define VGA_GRAPHICS_INDEX       0x3CE
#define VGA_CRTC_INDEX           0x3D4
#define VGA_INPUT_STATUS_COLOR   0x3DA
#define VGA_INPUT_STATUS_MONO    0x3BA

#define AST_CRTC_UNLOCK_INDEX    0x80
#define AST_CRTC_UNLOCK_KEY      0xA8

UINT8 VgaReadIndexed (IN UINT16 IndexPort, IN UINT8 Index);
VOID  VgaWriteIndexed (IN UINT16 IndexPort, IN UINT8 Index, IN UINT8 Value);
/** Register <- (Register & AndMask) | OrMask, read first. **/
VOID  VgaModifyIndexed (IN UINT16 IndexPort, IN UINT8 Index, IN UINT8 AndMask, IN UINT8 OrMask);

#define CrtcRead(Index)                     VgaReadIndexed (VGA_CRTC_INDEX, (Index))
#define CrtcWrite(Index, Value)             VgaWriteIndexed (VGA_CRTC_INDEX, (Index), (Value))
#define CrtcModify(Index, AndMask, OrMask)  VgaModifyIndexed (VGA_CRTC_INDEX, (Index), (AndMask), (OrMask))
#define SeqRead(Index)                      VgaReadIndexed (VGA_SEQUENCER_INDEX, (Index))
#define SeqWrite(Index, Value)              VgaWriteIndexed (VGA_SEQUENCER_INDEX, (Index), (Value))
#define SeqModify(Index, AndMask, OrMask)   VgaModifyIndexed (VGA_SEQUENCER_INDEX, (Index), (AndMask), (OrMask))
#define GraphicsWrite(Index, Value)         VgaWriteIndexed (VGA_GRAPHICS_INDEX, (Index), (Value))

/** Resets the attribute controller's flip-flop to "index next". **/
VOID VgaResetAttributeFlipFlop (VOID);

/** Unlocks the extended CRTC registers; returns the CR80 value to restore. **/
UINT8 Ast2500UnlockExtended (VOID);
/** Writes back CR80 unless it already held the unlock key. **/
VOID  Ast2500RestoreExtended (IN UINT8 OldUnlock);

#endif
