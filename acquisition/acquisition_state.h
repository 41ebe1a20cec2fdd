// What the acquisition keeps between samples: the open interface box, and the decoder's
// state (the sliding window of decoded angles and times the velocity is fitted over, the
// revolution count and the drive marker of the previous sample, and the velocity last
// fitted).
#pragma once

#include <memory>

#include "acquisition/sample_decoder.h"
#include "platform/interface_box.h"

namespace kv {

struct AcquisitionState : DecoderState {
  long device_handle = 0;
  std::unique_ptr<InterfaceBox> device;  // the open interface box, if any
};

}  // namespace kv
