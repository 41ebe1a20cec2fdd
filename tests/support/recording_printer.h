// A printer that records what is drawn on it, for tests and for checking a page without
// paper: every text with its font, size and position, every line and dot with its width.
#pragma once

#include <string>
#include <vector>

#include "platform/printer.h"

namespace kv {

class RecordingPrinter : public PrinterSurface {
 public:
  struct Text {
    double x, y;
    std::string text, font;
    double size;
    bool bold;
  };
  struct Line {
    double x1, y1, x2, y2;
    int width;
    bool dashed;
  };
  struct Dot {
    double x, y;
    int width;
  };
  std::vector<Text> texts;
  std::vector<Line> lines;
  std::vector<Dot> dots;
  int documents = 0;      // end_doc calls
  std::string fail_with;  // when not empty, end_doc fails with this reason

  void text(double x, double y, std::string_view t, const std::string& font, double size,
            bool bold) override {
    texts.push_back({x, y, std::string(t), font, size, bold});
  }
  void line(double x1, double y1, double x2, double y2, int width, bool dashed) override {
    lines.push_back({x1, y1, x2, y2, width, dashed});
  }
  void dot(double x, double y, int width) override { dots.push_back({x, y, width}); }
  bool end_doc(std::string& error) override {
    ++documents;
    error = fail_with;
    return fail_with.empty();
  }
  // The first text that reads exactly `t`, or null.
  const Text* find_text(std::string_view t) const {
    for (const auto& x : texts)
      if (x.text == t) return &x;
    return nullptr;
  }
};

}  // namespace kv
