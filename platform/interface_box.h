// The interface box as the program sees it: open by name, read one 6-byte sample record
// per call, close. Backends: the real box (Windows driver or libusb), the demo box (a
// simulated pendulum) and the replay box (records from a file).
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

namespace kv {

using SampleRecord = std::array<std::uint8_t, 6>;

enum class BoxRead {
  Ok,         // the record holds a new sample
  Failed,     // a transient failure: the record still holds the previous sample
  Timeout,    // nothing arrived within the time allowed; the record is unchanged
  Gone,       // the device has disappeared; no further reads will succeed
  EndOfData,  // a replay reached the end of its file
};

class InterfaceBox {
 public:
  virtual ~InterfaceBox() = default;
  // Reads one record into `record`, waiting at most `timeout_ms` milliseconds.
  virtual BoxRead read(SampleRecord& record, int timeout_ms) = 0;
  virtual void close() = 0;
  // A short description for messages ("demo box", "USB 0547:2131", ...).
  virtual std::string name() const = 0;
  // The handle number the program reports (1 or more when connected).
  virtual long handle() const { return 1; }
};

}  // namespace kv
