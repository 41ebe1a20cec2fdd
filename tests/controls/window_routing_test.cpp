// The control table against the window's layout: a control has a handler exactly where the
// window takes a click (a panel button, a check box, a push button, the scroll bar, the
// list), and no two controls share one, so the routing reaches each handler once.
#include <gtest/gtest.h>

#include <map>

#include "app/state/control_table.h"
#include "app/window/layout.h"

using namespace kv;

TEST(WindowRouting, EveryClickableControlReachesItsOwnHandler) {
  std::map<ClickHandler, std::string_view> owner;
  int clickable = 0;
  for (const layout::ControlPlace& p : layout::controls()) {
    const ControlRow& r = control_row(p.ctl);
    using K = layout::Kind;
    const bool takes_clicks = p.kind == K::PanelButton || p.kind == K::Check || p.kind == K::Push ||
                              p.kind == K::ScrollBar || p.kind == K::List;
    if (!takes_clicks || p.ctl == Ctl::Text18) {  // HALT is polled by the running command
      EXPECT_EQ(r.click, nullptr) << control_name(r.ctl) << " has a handler the window never calls";
      continue;
    }
    ++clickable;
    ASSERT_NE(r.click, nullptr) << control_name(r.ctl) << " takes clicks but has no handler";
    const auto [it, fresh] = owner.emplace(r.click, control_name(r.ctl));
    EXPECT_TRUE(fresh) << control_name(r.ctl) << " and " << it->second << " run the same handler";
  }
  EXPECT_GT(clickable, 0);
  // No control outside the layout has a handler either.
  for (const ControlRow& r : kControlTable) {
    if (r.click) {
      EXPECT_NE(layout::find(r.ctl), nullptr) << control_name(r.ctl);
    }
  }
}
