// The range control: "Set range" shows the scroll bar and its text; moving the scroll bar
// shows how many revolutions the next phase plot will span.
#pragma once

namespace kv {
struct Form1;

void Text11_Click(Form1& f);     // "Set range"
void HScroll1_Change(Form1& f);  // also the Scroll event
// Number of revolutions shown for a scroll bar value: 1, 3, 5, 9, 17, 33.
int revolutions_for_value(int value);

}  // namespace kv
