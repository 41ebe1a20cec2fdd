#include "platform/qt/qt_file_filters.h"

#include <QString>

namespace kv {

QStringList qt_name_filters(const std::string& filter) {
  const QStringList parts = QString::fromStdString(filter).split(QLatin1Char('|'));
  QStringList out;
  for (qsizetype i = 0; i < parts.size(); i += 2) {
    const QString desc = parts[i].trimmed();
    // A description without a pattern is taken as its own pattern.
    QString patterns = i + 1 < parts.size() ? parts[i + 1] : desc;
    QStringList list;
    for (const QString& p : patterns.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
      if (!p.trimmed().isEmpty()) list << p.trimmed();
    }
    if (list.isEmpty()) continue;
    const QString joined = list.join(QLatin1Char(' '));
    // "*.pha|*.pha" reads "*.pha" once, and "(*.pha)|*.pha" keeps its own parentheses.
    if (desc.isEmpty() || desc == joined)
      out << joined;
    else if (desc.endsWith(QLatin1Char(')')) && desc.contains(joined))
      out << desc;
    else
      out << desc + QStringLiteral(" (") + joined + QLatin1Char(')');
  }
  if (out.isEmpty()) out << QStringLiteral("*");
  return out;
}

}  // namespace kv
