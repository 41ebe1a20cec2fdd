#include "app/window/window_style.h"

#include <algorithm>
#include <cmath>
#include <string>

#include <QVariant>
#include <QWidget>

namespace kv {

QFont design_font(double points, bool bold, double scale) {
  QFont f;
  f.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Microsoft Sans Serif"),
                 QStringLiteral("Tahoma"), QStringLiteral("Liberation Sans"),
                 QStringLiteral("Arial"), QStringLiteral("DejaVu Sans Condensed"),
                 QStringLiteral("DejaVu Sans")});
  f.setStyleHint(QFont::SansSerif);
  f.setPixelSize(std::max(1, static_cast<int>(std::lround(points * 96.0 / 72.0 * scale))));
  f.setBold(bold);
  return f;
}

double design_scale(const QWidget* w) {
  const QVariant v = w->property("kv_scale");
  return v.isValid() ? v.toDouble() : 1.0;
}

QString display_text(const std::string& text, bool symbol) {
  QString s = QString::fromStdString(text);
  s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  s.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  if (symbol) s.replace(QLatin1Char('p'), QChar(0x03C0));
  return s;
}

QString progress_marks(const std::string& text) {
  QString s = QString::fromStdString(text);
  s.replace(QLatin1Char('g'), QChar(0x25A0));
  s.replace(QLatin1Char('c'), QChar(0x25A1));
  return s;
}

}  // namespace kv
