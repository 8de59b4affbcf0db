#include "Ast2500.h"

namespace zub {

namespace {
constexpr uint16_t kAttr = 0x3C0, kAttrRead = 0x3C1, kMiscWrite = 0x3C2, kVgaEnable = 0x3C3, kSeqIndex = 0x3C4,
                   kSeqData = 0x3C5, kDacMask = 0x3C6, kDacReadIndex = 0x3C7, kDacWriteIndex = 0x3C8,
                   kDacData = 0x3C9, kMiscRead = 0x3CC, kGrIndex = 0x3CE, kGrData = 0x3CF, kCrtcIndex = 0x3D4,
                   kCrtcData = 0x3D5, kStatusColor = 0x3DA, kStatusMono = 0x3BA;
constexpr uint8_t kCr11Protect = 0x80;
}  // namespace

Ast2500::Ast2500(const PciIdentity& identity, uint32_t videoMemoryBytes, uint32_t registerBytes)
    : PciFunction(identity, 0), vramSize_(videoMemoryBytes), vram_(videoMemoryBytes), registers_(registerBytes) {
  defineMemoryBar(0, videoMemoryBytes);   // not prefetchable: sizing reads back the bare mask
  defineMemoryBar(1, registerBytes);
}

MemoryDevice* Ast2500::barDevice(unsigned index) {
  if (index == 0) return &vram_;
  if (index == 1) return &registers_;
  return nullptr;
}

void Ast2500::writeCrtc(uint8_t index, uint8_t value) {
  if (index > kUnlockIndex && crtc_[kUnlockIndex] != kUnlockKey) return;
  if (index <= 0x07 && (crtc_[0x11] & kCr11Protect)) {
    if (index == 0x07) crtc_[0x07] = uint8_t((crtc_[0x07] & ~0x10) | (value & 0x10));
    return;
  }
  crtc_[index] = value;
}

uint32_t Ast2500::ioRead(uint16_t port, unsigned bytes) {
  switch (port) {
    case kAttr: return attrIndex_;
    case kAttrRead: return attr_[attrIndex_ & 0x1F];
    case kVgaEnable: return vgaEnable_;
    case kSeqIndex: return seqIndex_;
    case kSeqData: return seq_[seqIndex_];
    case kDacMask: return dacMask_;
    case kDacWriteIndex: return dacWrite_;
    case kDacData: {
      uint8_t v = dac_[dacRead_][dacReadComponent_];
      if (++dacReadComponent_ == 3) dacReadComponent_ = 0, ++dacRead_;
      return v;
    }
    case kMiscRead: return misc_;
    case kGrIndex: return grIndex_;
    case kGrData: return gr_[grIndex_ & 0x0F];
    case kCrtcIndex: return crtcIndex_;
    case kCrtcData: return crtc_[crtcIndex_];
    case kStatusColor:
    case kStatusMono:
      attrExpectsData_ = false;
      inputStatus_ ^= 0x09;   // display enable and vertical retrace toggle as time passes
      return inputStatus_;
    default: return 0xFF;
  }
}

void Ast2500::ioWrite(uint16_t port, unsigned bytes, uint32_t value) {
  uint8_t v = uint8_t(value);
  switch (port) {
    case kAttr:
      if (attrExpectsData_) attr_[attrIndex_ & 0x1F] = v;
      else attrIndex_ = v & 0x3F;
      attrExpectsData_ = !attrExpectsData_;
      break;
    case kMiscWrite: misc_ = v; break;
    case kVgaEnable: vgaEnable_ = v; break;
    case kSeqIndex: seqIndex_ = v; break;
    case kSeqData: seq_[seqIndex_] = v; break;
    case kDacMask: dacMask_ = v; break;
    case kDacReadIndex: dacRead_ = v, dacReadComponent_ = 0; break;
    case kDacWriteIndex: dacWrite_ = v, dacComponent_ = 0; break;
    case kDacData:
      dac_[dacWrite_][dacComponent_] = v & 0x3F;
      if (++dacComponent_ == 3) dacComponent_ = 0, ++dacWrite_;
      break;
    case kGrIndex: grIndex_ = v; break;
    case kGrData: gr_[grIndex_ & 0x0F] = v; break;
    case kCrtcIndex: crtcIndex_ = v; break;
    case kCrtcData: writeCrtc(crtcIndex_, v); break;
    default: break;
  }
}

Ast2500ScanOut Ast2500::scanOut() const {
  Ast2500ScanOut s;
  s.screenOff = seq_[0x01] & 0x20;
  s.trueColor = crtc_[0xA3] & 0x08;
  s.width = ((crtc_[0x01] | ((crtc_[0xAC] >> 2) & 1) << 8) + 1) * 8;
  s.height = (crtc_[0x12] | ((crtc_[0x07] >> 1) & 1) << 8 | ((crtc_[0x07] >> 6) & 1) << 9 |
              ((crtc_[0xAE] >> 1) & 1) << 10) + 1;
  s.pitchBytes = (crtc_[0x13] | uint32_t(crtc_[0xB0]) << 8) * 8;
  s.startAddress = (crtc_[0x0D] | uint32_t(crtc_[0x0C]) << 8 | uint32_t(crtc_[0xAF]) << 16) * 8;
  return s;
}

PciModelFactory ast2500Factory(uint32_t videoMemoryBytes, Ast2500** made) {
  return [videoMemoryBytes, made](const PciNodeConfig& node) -> std::unique_ptr<PciFunction> {
    uint32_t registers = node.barSizes.size() > 1 && node.barSizes[1] ? node.barSizes[1] : 0x20000;
    auto device = std::make_unique<Ast2500>(node.identity, videoMemoryBytes, registers);
    if (made) *made = device.get();
    return device;
  };
}

}  // namespace zub
