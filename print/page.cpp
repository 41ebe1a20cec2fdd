#include "print/page.h"

#include <cmath>

#include "chaos/chaos_state.h"
#include "fft/spectrum_state.h"
#include "platform/number_format.h"
#include "plot/plot_state.h"

namespace kv {

namespace {

constexpr const char* kPi = "\xCF\x80";                   // the Greek letter pi
constexpr const char* kMinusPi = "\xE2\x88\x92\xCF\x80";  // minus sign and pi

// The printer object's state: font, current position, line width and style. Every text is
// printed at the current position.
class Pen {
 public:
  explicit Pen(PrinterSurface& out) : out_(out) {}
  void font(const char* name) { font_ = name; }
  void size(double pt) { size_ = pt; }
  void at(double x, double y) {
    x_ = x;
    y_ = y;
  }
  void print(const std::string& text) { out_.text(x_, y_, text, font_, size_, false); }
  void print_at(double x, double y, const std::string& text) {
    at(x, y);
    print(text);
  }
  // A number as the print statement renders it: a blank in place of a plus sign.
  void print_number_at(double x, double y, int value) {
    print_at(x, y, value < 0 ? std::to_string(value) : " " + std::to_string(value));
  }
  void line(double x1, double y1, double x2, double y2) {
    out_.line(x1, y1, x2, y2, width, style == kStyleDash);
  }
  void dot(double x, double y) { out_.dot(x, y, width); }

  int width = 1;
  int style = kStyleSolid;

 private:
  PrinterSurface& out_;
  std::string font_ = "Arial";
  double size_ = 8;
  double x_ = 0, y_ = 0;
};

void frame(Pen& p, double top) {
  p.line(3000, top, 9000, top);
  p.line(9000, top, 9000, top + 6000);
  p.line(9000, top + 6000, 3000, top + 6000);
  p.line(3000, top + 6000, 3000, top);
}

// The "-p", "p", "0" labels of the Symbol font, printed as the Greek letters in the
// normal font.
void pi_labels(Pen& p, double y) {
  p.print_at(2900, y, kMinusPi);
  p.print_at(8900, y, kPi);
  p.print_at(5900, y, "0");
}

void spectrum_axes(Pen& p) {
  p.width = 7;
  for (double x : {4500.0, 6000.0, 7500.0}) p.line(x, 7500, x, 7300);
  p.size(12);
  for (int i = 0; i <= 4; ++i) p.print_number_at(2850 + 1500 * i, 7610, 10 * i);
  for (int i = 1; i <= 7; ++i) p.line(3000, 7500 - 750 * i, 3150, 7500 - 750 * i);
  for (int i = 0; i <= 7; ++i) p.print_number_at(2500, 7350 - 750 * i, 10 * i - 20);
  p.print_at(5400, 8000, "Frequency (rad/s)");
  p.print_at(5200, 1000, "Power spectrum");
  p.print_at(1200, 3000, "POWER");
  p.print_at(1500, 3300, "(db)");
}

}  // namespace

bool page_has_content(const PlotState& plots, const SpectrumState& spectrum) {
  return !(plots.cnt == 0 && plots.poincare_cnt == 0 && spectrum.FFT_flag == kFalse);
}

PrintOutcome nothing_to_print() {
  return {Status::refused,
          "there is nothing to print: no points are stored and no spectrum is shown"};
}

PrintOutcome print_page(const PlotState& f, const SpectrumState& s, const ChaosState& chaos,
                        PrinterSurface& printer) {
  if (!page_has_content(f, s)) return nothing_to_print();
  PrintOutcome out;
  const bool spectrum = s.FFT_flag != kFalse;
  const i32 r = f.cycle_number;
  Pen p(printer);
  p.font("Arial");
  p.width = 1;
  p.style = kStyleSolid;
  if (spectrum) {
    spectrum_axes(p);
  } else {
    for (i32 i = 1; i <= r; ++i) {
      const double x = 3000 + idiv(6000 * i, r + 1);
      p.line(x, 1500, x, 7500);
    }
  }
  p.size(20);
  p.print_at(3000, 500, "Kestavor Chaotic Pendulum");
  p.size(8);
  p.width = 7;
  p.at(1000, 1000);
  if (spectrum) {
    p.print(s.window);
  } else {
    p.print("number of phase plot points=" + std::to_string(f.cnt));
    p.size(12);
    p.print_at(1200, 3000, "VELOCITY");
    p.print_at(1500, 3300, "(rad/s)");
  }

  // Upper plot. On the phase page a stored velocity y lies at centre - y (upward).
  const i32 rows = std::min<i32>(f.cnt, PointTable<i32>::kRows - 1);
  i32 xp = f.orbit_points.at(1, 1);
  i32 yp = static_cast<i16>(f.orbit_points.at(1, 2));
  for (i32 i = 2; i <= rows; ++i) {
    i32 x = f.orbit_points.at(i, 1);
    const i32 y = f.orbit_points.at(i, 2);
    if (r == 0 && x > 3000) x -= 6000;
    if (!(x > -3000 && x < 3000 && y > -3000 && y < 3000)) continue;
    if (spectrum) {
      p.line(xp + 6000, yp + 4500, x + 6000, y + 4500);
      xp = x;
      yp = y;
    } else {
      p.dot(x + 6000, 4500 - y);
    }
  }
  p.width = 7;
  frame(p, 1500);

  if (spectrum) {
    p.size(8);
    // The exponent is printed only when it belongs to the spectrum on the screen.
    const std::string value = std::isfinite(chaos.lyapunov_exponent)
                                  ? format_pattern(chaos.lyapunov_exponent, "#.###")
                                  : "";
    p.print_at(4000, 2000, "Lyapunov exponent=" + value);
  } else {
    p.line(3000, 4500, 9000, 4500);
    p.line(6000, 1500, 6000, 7500);
    p.size(8);
    for (int i = -4; i <= 4; ++i) p.print_number_at(2650, clng(4460 - 636.6 * i - 50), 10 * i);
    for (int i = -4; i <= 4; ++i) {
      const double y = clng(4500 - 636.6 * i);
      p.line(3000, y, 3150, y);
    }
    if (r == 0) {
      p.size(12);
      pi_labels(p, 7550);
    }
    p.print_at(6500, 7650, "PHASE (radian)");

    // Lower plot.
    p.size(8);
    p.at(1000, 8000);
    if (f.poincare_cnt != 0) {
      p.print("number of Poincare plot points=" + std::to_string(f.poincare_cnt));
      p.size(12);
      p.print_at(1200, 10000, "VELOCITY");
      p.print_at(1500, 10300, "(rad/s)");
      p.width = 12;
      const i32 prow = std::min<i32>(f.poincare_cnt, PointTable<i16>::kRows - 1);
      for (i32 i = 1; i <= prow; ++i) {
        i32 x = f.poincare_points.at(i, 1);
        if (x > 3000) x -= 6000;
        p.dot(x + 6000, 11500 - f.poincare_points.at(i, 2));
      }
      p.width = 7;
      frame(p, 8500);
      p.line(3000, 11500, 9000, 11500);
      p.line(6000, 8500, 6000, 14500);
      p.style = kStyleDash;
      p.width = 1;
      for (int i = 1; i <= 7; ++i) p.line(3000 + 750 * i, 8500, 3000 + 750 * i, 14500);
      for (int i = -4; i <= 4; ++i) p.line(3000, 11500 + 636.6 * i, 9000, 11500 + 636.6 * i);
      p.size(8);
      for (int i = -4; i <= 4; ++i) p.print_number_at(2650, clng(11460 - 636.6 * i - 50), 10 * i);
      for (int i = -4; i <= 4; ++i) p.line(3000, 11500 - 636.6 * i, 3150, 11500 - 636.6 * i);
      p.size(12);
      pi_labels(p, 14550);
      p.print_at(6500, 14650, "PHASE (radian)");
    }
  }
  out.status = Status::done;
  if (!printer.end_doc(out.reason)) out.status = Status::failed;
  return out;
}

}  // namespace kv
