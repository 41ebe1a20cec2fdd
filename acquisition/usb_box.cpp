#ifdef KV_HAVE_LIBUSB

#include "acquisition/usb_box.h"

#include <libusb.h>

#include <cstdio>
#include <cstring>

namespace kv {

struct UsbBox::Handles {
  libusb_context* ctx = nullptr;
  libusb_device_handle* dev = nullptr;
  bool claimed = false;

  ~Handles() {
    if (dev && claimed) libusb_release_interface(dev, 0);
    if (dev) libusb_close(dev);
    if (ctx) libusb_exit(ctx);
  }
};

namespace {

std::string ids(std::uint16_t vendor, std::uint16_t product) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%04x:%04x", vendor, product);
  return buf;
}

// The first bulk IN endpoint of interface 0 (alternate setting 0) of the active
// configuration; 0 when there is none.
unsigned char first_bulk_in(libusb_device* dev) {
  libusb_config_descriptor* cfg = nullptr;
  if (libusb_get_active_config_descriptor(dev, &cfg) != 0 || !cfg) return 0;
  unsigned char found = 0;
  if (cfg->bNumInterfaces > 0 && cfg->interface[0].num_altsetting > 0) {
    const libusb_interface_descriptor& alt = cfg->interface[0].altsetting[0];
    for (int i = 0; i < alt.bNumEndpoints && !found; ++i) {
      const libusb_endpoint_descriptor& ep = alt.endpoint[i];
      if ((ep.bmAttributes & LIBUSB_TRANSFER_TYPE_MASK) == LIBUSB_TRANSFER_TYPE_BULK &&
          (ep.bEndpointAddress & LIBUSB_ENDPOINT_DIR_MASK) == LIBUSB_ENDPOINT_IN)
        found = ep.bEndpointAddress;
    }
  }
  libusb_free_config_descriptor(cfg);
  return found;
}

}  // namespace

UsbBox::~UsbBox() = default;

std::unique_ptr<UsbBox> UsbBox::open(std::uint16_t vendor, std::uint16_t product,
                                     std::string& error) {
  std::unique_ptr<UsbBox> box(new UsbBox());
  box->vendor_ = vendor;
  box->product_ = product;
  box->h_ = std::make_unique<Handles>();
  Handles& h = *box->h_;
  const std::string what = "USB interface box " + ids(vendor, product);
  int rc = libusb_init(&h.ctx);
  if (rc != 0) {
    h.ctx = nullptr;
    error = "Cannot start libusb: " + std::string(libusb_strerror(rc));
    return nullptr;
  }
  // Found and opened are told apart: a box the user may not open needs a permission (the
  // udev rule the package installs), not a cable.
  libusb_device** list = nullptr;
  const ssize_t count = libusb_get_device_list(h.ctx, &list);
  libusb_device* found = nullptr;
  for (ssize_t i = 0; i < count && !found; ++i) {
    libusb_device_descriptor d{};
    if (libusb_get_device_descriptor(list[i], &d) == 0 && d.idVendor == vendor &&
        d.idProduct == product)
      found = list[i];
  }
  rc = found ? libusb_open(found, &h.dev) : LIBUSB_ERROR_NOT_FOUND;
  if (list) libusb_free_device_list(list, 1);
  if (rc == LIBUSB_ERROR_NOT_FOUND || (rc == 0 && !h.dev)) {
    h.dev = nullptr;
    error = "No interface box " + ids(vendor, product) + " found on USB";
    return nullptr;
  }
  if (rc == LIBUSB_ERROR_ACCESS) {
    h.dev = nullptr;
    error = "no permission to open the interface box " + ids(vendor, product) + ": see Help";
    return nullptr;
  }
  if (rc != 0) {
    h.dev = nullptr;
    error = "Cannot open the " + what + ": " + libusb_strerror(static_cast<libusb_error>(rc));
    return nullptr;
  }
  box->endpoint_ = first_bulk_in(libusb_get_device(h.dev));
  if (box->endpoint_ == 0) {
    error = "The " + what + " has no bulk IN endpoint on interface 0";
    return nullptr;
  }
  // A kernel driver bound to the interface is set aside; whether that worked is told by
  // the claim itself.
  if (libusb_kernel_driver_active(h.dev, 0) == 1) libusb_detach_kernel_driver(h.dev, 0);
  rc = libusb_claim_interface(h.dev, 0);
  if (rc != 0) {
    error = "Cannot claim interface 0 of the " + what + ": " + libusb_strerror(rc);
    return nullptr;
  }
  h.claimed = true;
  return box;
}

BoxRead UsbBox::read(SampleRecord& record, int timeout_ms) {
  if (gone_ || !h_) return BoxRead::Gone;
  // Read into a separate buffer so that a failed or short transfer leaves the previous
  // record untouched.
  unsigned char buf[6];
  int got = 0;
  const int rc = libusb_bulk_transfer(h_->dev, endpoint_, buf, static_cast<int>(sizeof buf), &got,
                                      static_cast<unsigned>(timeout_ms > 0 ? timeout_ms : 1));
  if ((rc == 0 || rc == LIBUSB_ERROR_TIMEOUT) && got == static_cast<int>(sizeof buf)) {
    std::memcpy(record.data(), buf, record.size());
    return BoxRead::Ok;
  }
  switch (rc) {
    case 0:
      return BoxRead::Failed;  // a short record: keep the previous one
    case LIBUSB_ERROR_TIMEOUT:
      return BoxRead::Timeout;
    case LIBUSB_ERROR_NO_DEVICE:
      gone_ = true;
      return BoxRead::Gone;
    case LIBUSB_ERROR_PIPE:
      libusb_clear_halt(h_->dev, endpoint_);
      return BoxRead::Failed;
    default:
      return BoxRead::Failed;
  }
}

void UsbBox::close() {
  h_.reset();
}

std::string UsbBox::name() const {
  return "USB " + ids(vendor_, product_);
}

}  // namespace kv

#endif  // KV_HAVE_LIBUSB
