#ifdef _WIN32

#include "acquisition/windows_box.h"

#include <windows.h>

#include <cstdint>
#include <cstring>
#include <string>

namespace kv {

namespace {

constexpr DWORD kBulkReadRequest = 0x22204E;  // the driver's bulk-read control code

// Not every SDK's headers name this one (MinGW's do not).
#ifndef ERROR_NO_SUCH_DEVICE
#define ERROR_NO_SUCH_DEVICE 433L
#endif

// Errors after which the device will not answer again.
bool device_vanished(DWORD err) {
  return err == ERROR_DEVICE_NOT_CONNECTED || err == ERROR_BAD_COMMAND ||
         err == ERROR_INVALID_HANDLE || err == ERROR_DEVICE_REMOVED ||
         err == ERROR_NO_SUCH_DEVICE || err == ERROR_FILE_NOT_FOUND;
}

}  // namespace

WindowsBox::~WindowsBox() {
  close();
}

std::unique_ptr<WindowsBox> WindowsBox::open(const std::string& name, std::string& error) {
  const std::string path = "\\\\.\\" + name;
  SECURITY_ATTRIBUTES sa;
  sa.nLength = 0;
  sa.lpSecurityDescriptor = nullptr;
  sa.bInheritHandle = FALSE;
  // Opened for overlapped requests so that a read can give up after its timeout and the
  // program can still see HALT while the box is silent.
  HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_WRITE, &sa, OPEN_EXISTING,
                         FILE_FLAG_OVERLAPPED, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    error = "Cannot open the interface box driver " + path + " (error " +
            std::to_string(GetLastError()) + ")";
    return nullptr;
  }
  std::unique_ptr<WindowsBox> box(new WindowsBox());
  box->handle_ = h;
  box->name_ = name;
  box->event_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  if (!box->event_) {
    error = "Cannot create an event for the interface box (error " +
            std::to_string(GetLastError()) + ")";
    return nullptr;
  }
  return box;
}

BoxRead WindowsBox::read(SampleRecord& record, int timeout_ms) {
  if (gone_ || !handle_) return BoxRead::Gone;
  DWORD pipe = 0;  // pipe number, 32-bit little-endian
  // The driver writes into a copy of the previous record, which is taken over only when
  // the request succeeds (the count of bytes returned is not relied upon, as older drivers
  // do not always set it).
  unsigned char buf[6];
  std::memcpy(buf, record.data(), sizeof buf);
  DWORD returned = 0;
  OVERLAPPED ov;
  std::memset(&ov, 0, sizeof ov);
  ov.hEvent = static_cast<HANDLE>(event_);
  ResetEvent(ov.hEvent);
  BOOL ok = DeviceIoControl(static_cast<HANDLE>(handle_), kBulkReadRequest, &pipe, sizeof pipe, buf,
                            sizeof buf, &returned, &ov);
  if (!ok) {
    DWORD err = GetLastError();
    if (err == ERROR_IO_PENDING) {
      DWORD wait = WaitForSingleObject(ov.hEvent, timeout_ms > 0 ? timeout_ms : 1);
      if (wait == WAIT_TIMEOUT) {
        CancelIoEx(static_cast<HANDLE>(handle_), &ov);
        GetOverlappedResult(static_cast<HANDLE>(handle_), &ov, &returned, TRUE);
        return BoxRead::Timeout;
      }
      ok = GetOverlappedResult(static_cast<HANDLE>(handle_), &ov, &returned, FALSE);
      if (!ok) err = GetLastError();
    }
    if (!ok) {
      if (device_vanished(err)) {
        gone_ = true;
        return BoxRead::Gone;
      }
      return BoxRead::Failed;
    }
  }
  std::memcpy(record.data(), buf, record.size());
  return BoxRead::Ok;
}

void WindowsBox::close() {
  if (handle_) CloseHandle(static_cast<HANDLE>(handle_));
  if (event_) CloseHandle(static_cast<HANDLE>(event_));
  handle_ = nullptr;
  event_ = nullptr;
}

long WindowsBox::handle() const {
  return static_cast<long>(reinterpret_cast<std::intptr_t>(handle_));
}

}  // namespace kv

#endif  // _WIN32
