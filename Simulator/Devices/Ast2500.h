// The ASPEED AST2500's video function (PCI 1A03:2000, class 0x030000) as the early
// firmware sees it: BAR0 video memory of the board's size (host memory, so the screen
// can be scanned out), BAR1 the 128 KB register window, and the legacy VGA ports once
// the path routes them here (sequencer, CRTC with the extended registers 0x80 and up,
// attribute controller with its flip-flop, graphics controller, miscellaneous output,
// DAC). Extended CRTC registers other than CR80 take writes only while CR80 holds 0xA8;
// CR00-CR07 are write-protected while CR11 bit 7 is set (CR07 bit 4 excepted).
#pragma once
#include <array>
#include <cstdint>
#include <memory>

#include "PciEndpoint.h"
#include "PciTopology.h"

namespace zub {

// What the display controller scans out, derived from the registers.
struct Ast2500ScanOut {
  bool screenOff = true;       // SR01 bit 5
  bool trueColor = false;      // CRA3 bit 3: 32 bits per pixel
  unsigned width = 0;          // horizontal display end: (CR01 | CRAC bit 2 << 8) + 1, in 8-pixel units
  unsigned height = 0;         // vertical display end: CR12 with CR07 bits 1, 6 and CRAE bit 1, + 1
  uint32_t pitchBytes = 0;     // offset register CR13 | CRB0 << 8, in 8-byte units
  uint32_t startAddress = 0;   // CR0D | CR0C << 8 | CRAF << 16, in 8-byte units
};

class Ast2500 : public PciFunction, public PortDevice {
public:
  static constexpr uint8_t kUnlockIndex = 0x80, kUnlockKey = 0xA8;

  Ast2500(const PciIdentity& identity, uint32_t videoMemoryBytes, uint32_t registerBytes);

  PortDevice* legacyVgaPorts() override { return this; }
  uint32_t ioRead(uint16_t port, unsigned bytes) override;
  void ioWrite(uint16_t port, unsigned bytes, uint32_t value) override;

  uint8_t sequencer(uint8_t i) const { return seq_[i]; }
  uint8_t crtc(uint8_t i) const { return crtc_[i]; }
  uint8_t attribute(uint8_t i) const { return attr_[i & 0x1F]; }
  uint8_t attributeIndex() const { return attrIndex_; }   // bit 5: palette address source
  uint8_t graphics(uint8_t i) const { return gr_[i & 0x0F]; }
  uint8_t miscOutput() const { return misc_; }
  uint8_t vgaEnable() const { return vgaEnable_; }
  uint8_t dacMask() const { return dacMask_; }
  std::array<uint8_t, 3> dac(uint8_t i) const { return dac_[i]; }

  uint32_t videoMemorySize() const { return vramSize_; }
  uint8_t* videoMemory() { return vram_.hostPointer(0, vramSize_); }
  Ast2500ScanOut scanOut() const;

protected:
  MemoryDevice* barDevice(unsigned index) override;

private:
  void writeCrtc(uint8_t index, uint8_t value);

  uint32_t vramSize_;
  BarMemory vram_, registers_;
  std::array<uint8_t, 256> seq_{}, crtc_{};
  std::array<uint8_t, 32> attr_{};
  std::array<uint8_t, 16> gr_{};
  std::array<std::array<uint8_t, 3>, 256> dac_{};
  uint8_t seqIndex_ = 0, crtcIndex_ = 0, grIndex_ = 0, attrIndex_ = 0;
  bool attrExpectsData_ = false;
  uint8_t misc_ = 0, vgaEnable_ = 0, dacMask_ = 0xFF;
  uint8_t dacWrite_ = 0, dacRead_ = 0, dacComponent_ = 0, dacReadComponent_ = 0;
  uint8_t inputStatus_ = 0;
};

// The "ast2500" model factory: BAR0 sized by the board's video memory.
PciModelFactory ast2500Factory(uint32_t videoMemoryBytes, Ast2500** made = nullptr);

}  // namespace zub
