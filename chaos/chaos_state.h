// The chaos estimates kept for the printed page.
#pragma once

namespace kv {

struct ChaosState {
  double lyapunov_exponent = 0;  // estimated with the spectrum on screen
};

}  // namespace kv
