// Converts the program's file-dialog filters ("description|pattern|description|pattern",
// patterns separated by ';') into Qt name filters ("description (pattern pattern)").
#pragma once

#include <QStringList>
#include <string>

namespace kv {

QStringList qt_name_filters(const std::string& filter);

}  // namespace kv
