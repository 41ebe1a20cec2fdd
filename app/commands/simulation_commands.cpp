// Placeholder until the simulation commands land.
#include "app/commands/commands.h"

namespace kv {
void Text9_Click(Form1&) {}
void Command21_Click(Form1&) {}
void Command1_Click(Form1&) {}
void Check1_Click(Form1&) {}
void Check2_Click(Form1&) {}
void Check3_Click(Form1&) {}
void Check4_Click(Form1&) {}
}  // namespace kv
