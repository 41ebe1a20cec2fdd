// The window's sweep: the dialog's values make the file kestavor-cli sweep writes for the
// same values, byte for byte, and a rectangle dragged over the picture recomputes its
// region (Back returns to the view before).
#include <gtest/gtest.h>

#include <QTest>
#include <chrono>
#include <ostream>
#include <thread>

#include "app/commands/simulation_window.h"
#include "app/window/sweep_dialog.h"
#include "app/window/sweep_window.h"
#include "sweep/qt/sweep_painter.h"
#include "tests/support/files.h"
#include "tests/window/window_test_support.h"

namespace kv::test {
namespace {

namespace fs = std::filesystem;

// The sweep window of `r` run to its end.
SweepWindow* swept(Rig& rig, const SweepRequest& r) {
  SweepWindow* s = rig.w.show_sweep(r);
  while (s->session().running()) {
    QCoreApplication::processEvents();
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  s->update_view();
  return s;
}

struct SameValues {
  const char* name;
  SweepTexts dialog;
  const char* cli;
  friend void PrintTo(const SameValues& v, std::ostream* os) { *os << v.name; }
};

class SweepWindowFile : public ::testing::TestWithParam<SameValues> {};

TEST_P(SweepWindowFile, IsTheFileOfTheCliForTheSameValues) {
  Rig rig;
  const PanelTexts panel = panel_texts(rig.f);
  SweepDialog dialog(panel);
  dialog.set_texts(GetParam().dialog);
  SweepRequest r;
  ASSERT_EQ(sweep_request_from(dialog.texts(), panel, r), "");
  SweepWindow* s = swept(rig, r);
  const TempDir dir;
  const std::string window = (dir.path() / "window.csv").string();
  const std::string cli = (dir.path() / "cli.csv").string();
  rig.dialogs.save_answers.push_back(window);
  s->save_data();
  ASSERT_EQ(run_cli(std::string("sweep ") + GetParam().cli + " --quiet -o " + cli).status, 0);
  EXPECT_EQ(read_file(window), read_file(cli));
  EXPECT_EQ(rig.dialogs.count("message"), 0);
}

SweepTexts texts(const char* param, const char* from, const char* to, const char* steps,
                 bool follow, const char* param2 = "") {
  SweepTexts t;
  t.param = param;
  t.from = from;
  t.to = to;
  t.steps = steps;
  t.transient = "12";
  t.points = "9";
  t.follow = follow;
  if (*param2) {
    t.param2 = param2;
    t.from2 = "0.00001";
    t.to2 = "0.00002";
    t.steps2 = "3";
  }
  return t;
}

INSTANTIATE_TEST_SUITE_P(
    Sweeps, SweepWindowFile,
    ::testing::Values(
        SameValues{"orbit_follow", texts("drive-amplitude", "0.0004", "0.0007", "6", true),
                   "--param drive-amplitude --from 0.0004 --to 0.0007 --steps 6 --transient 12 "
                   "--points 9 --follow"},
        SameValues{"map", texts("drive-frequency", "6", "5", "4", false, "damping"),
                   "--param drive-frequency --from 6 --to 5 --steps 4 --param2 damping --from2 "
                   "0.00001 --to2 0.00002 --steps2 3 --transient 12 --points 9"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SweepWindowZoom, DraggedRectangleIsRecomputedAndBackReturns) {
  Rig rig;
  SweepRequest r;
  ASSERT_EQ(sweep_request_from(texts("drive-amplitude", "0", "0.001", "11", false),
                               panel_texts(rig.f), r),
            "");
  SweepWindow* s = swept(rig, r);
  QWidget* plot = s->findChild<QWidget*>(QStringLiteral("sweep_plot"));
  ASSERT_TRUE(plot);
  const SweepPlotArea a = sweep_plot_area(plot->width(), plot->height());
  // From 30 % to 60 % across, the upper half (phase 0 to pi).
  const QPoint from(a.left + a.width * 3 / 10, a.top),
      to(a.left + a.width * 6 / 10 - 1, a.top + a.height / 2 - 1);
  QTest::mousePress(plot, Qt::LeftButton, {}, from);
  QTest::mouseMove(plot, to);
  QTest::mouseRelease(plot, Qt::LeftButton, {}, to);
  const SweepView& zoomed = s->session().view();
  EXPECT_NEAR(zoomed.request.x.from, 0.0003, 0.0001 / 4);
  EXPECT_NEAR(zoomed.request.x.to, 0.0006, 0.0001 / 4);
  EXPECT_EQ(zoomed.request.x.steps, 11);
  EXPECT_NEAR(zoomed.picture.y_from, 0, 0.02);
  EXPECT_NEAR(zoomed.picture.y_to, 3.14159, 0.02);
  QTest::mouseClick(s->findChild<QWidget*>(QStringLiteral("sweep_back")), Qt::LeftButton);
  EXPECT_EQ(s->session().view().request.x.to, 0.001);
  EXPECT_EQ(s->session().view().cells.size(), 11u);
  EXPECT_FALSE(s->session().can_go_back());
}

}  // namespace
}  // namespace kv::test
