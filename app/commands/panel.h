// The control panel: highlighting under the pointer, the help button, the Clear button
// while no command runs, and a click on the bare window.
#pragma once

namespace kv {
struct Form1;
enum class Ctl : int;

// The pointer moved over control `c` (or the bare window, Frame8, Frame12, Picture1,
// Text57): recolours the buttons as the panel's highlight rules say.
void mouse_move(Form1& f, Ctl c);
void Form_MouseMove(Form1& f);
void Frame12_MouseMove(Form1& f);
void Text57_MouseMove(Form1& f);
void help_Click(Form1& f);
void Form_Click(Form1& f);
void Text7_Click(Form1& f);  // "Clear"

}  // namespace kv
