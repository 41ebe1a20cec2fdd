// Placeholder until the spectrum commands land.
#include "app/commands/commands.h"

namespace kv {
void Text15_Click(Form1&) {}
void List1_Click(Form1&) {}
}  // namespace kv
