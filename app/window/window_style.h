// Fonts and colours shared by the window's widgets.
#pragma once

#include <QColor>
#include <QFont>
#include <QString>
#include <cstdint>

namespace kv {

// A 0x00BBGGRR colour of the program as a Qt colour.
inline QColor qcolor(std::uint32_t bgr) {
  return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
                static_cast<int>((bgr >> 16) & 0xFF));
}

// The design's font (MS Sans Serif, or the nearest sans-serif on this machine) at a
// point size of the 96-dpi design, scaled by `scale`, in pixels so that it does not
// depend on the screen's dpi setting.
QFont design_font(double points, bool bold, double scale);

// The scale the design canvas gave a placed widget (1 before it was placed).
double design_scale(const class QWidget* w);

// Shows the design's text as the screen should: CR LF line ends become line breaks; with
// `symbol`, the letter p of the Symbol font becomes the Greek pi.
QString display_text(const std::string& text, bool symbol = false);

// The progress marks of the Lyapunov estimate: the design draws "g" and "c" in a symbol
// font (a filled and an empty square).
QString progress_marks(const std::string& text);

}  // namespace kv
