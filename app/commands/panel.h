// The control panel: highlighting under the pointer, the help button, the Clear button
// while no command runs, a click on the bare window, and the range control.
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
// The range control: "Set range" shows the scroll bar and its text; moving the scroll bar
// shows how many revolutions the next phase plot will span.
void Text11_Click(Form1& f);     // "Set range"
void HScroll1_Change(Form1& f);  // also the Scroll event

}  // namespace kv
