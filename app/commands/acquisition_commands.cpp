// Placeholder until the acquisition commands land.
#include "app/commands/commands.h"

namespace kv {
void Text10_Click(Form1&) {}
void Text13_Click(Form1&) {}
void Text14_Click(Form1&) {}
}  // namespace kv
