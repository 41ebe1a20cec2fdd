// Pictures of the plots: the right-click menu on the phase plot, the spectrum and the
// Poincare plot, the saved PNG (size, the plot's own pixels, written through a temporary
// file, a refused path) and the copy on the clipboard.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QMenu>
#include <QTest>
#include <filesystem>
#include <ostream>

#include "app/window/design_canvas.h"
#include "app/window/surface_view.h"
#include "tests/support/files.h"
#include "tests/window/window_test_support.h"

namespace kv::test {
namespace {

namespace fs = std::filesystem;

// Shows a plot and the labels around it, as the commands leave them.
void show_plot(Rig& r, std::initializer_list<Ctl> parts) {
  for (Ctl c : parts) r.f.ui.set_visible(c, true);
  r.w.sync(true);
}
const std::initializer_list<Ctl> kPhase = {Ctl::Picture1, Ctl::Label3, Ctl::Frame5, Ctl::Frame8,
                                           Ctl::Image1};
const std::initializer_list<Ctl> kSpectrum = {Ctl::Picture1, Ctl::Frame12, Ctl::Frame13,
                                              Ctl::Image3};
const std::initializer_list<Ctl> kPoincare = {Ctl::Picture2, Ctl::Label2, Ctl::Frame10, Ctl::Frame9,
                                              Ctl::Image2};

// A right click on a plot as the window system delivers it.
QMenu* right_click(Rig& r, Ctl c) {
  QWidget* view = r.widget(c);
  const QPoint local = view->rect().center();
  QContextMenuEvent e(QContextMenuEvent::Mouse, local, view->mapToGlobal(local));
  QCoreApplication::sendEvent(view, &e);
  return r.w.findChild<QMenu*>(QStringLiteral("plot_menu"));
}

QStringList texts(const QMenu* m) {
  QStringList t;
  for (QAction* a : m->actions()) t << a->text();
  return t;
}

// A block of colour drawn in the middle of a surface; its centre in the surface's pixels.
QPoint draw_block(Surface& s, std::uint32_t color) {
  s.DrawWidth = 7;
  const float x = s.ScaleWidth() * 0.37f, y = s.ScaleHeight() * 0.61f;
  s.PSet(x, y, color);
  s.DrawWidth = 1;
  s.Refresh();
  return QPoint(s.to_px(x), s.to_py(y));
}

// The colour of the picture at the centre of a surface pixel, 0x00BBGGRR.
std::uint32_t picture_pixel(Rig& r, const QImage& image, Ctl c, QPoint px, double factor) {
  auto* view = static_cast<SurfaceView*>(r.widget(c));
  const Surface& s = view->surface();
  const double sx = view->width() / double(s.design_width() + 2 * s.border());
  const double sy = view->height() / double(s.design_height() + 2 * s.border());
  const QPoint origin = view->mapTo(r.w.canvas(), QPoint(0, 0));
  const QRect rect = r.w.plot_picture_rect(c);
  const double cx = origin.x() + (s.border() + px.x() + 0.5) * sx - rect.left();
  const double cy = origin.y() + (s.border() + px.y() + 0.5) * sy - rect.top();
  const QRgb v = image.pixel(static_cast<int>(cx * factor), static_cast<int>(cy * factor));
  return static_cast<std::uint32_t>(qRed(v)) | static_cast<std::uint32_t>(qGreen(v)) << 8 |
         static_cast<std::uint32_t>(qBlue(v)) << 16;
}

struct PlotCase {
  const char* name;
  Ctl surface;
  std::initializer_list<Ctl> parts;
};

void PrintTo(const PlotCase& c, std::ostream* os) {
  *os << c.name;
}

class PlotPicture : public ::testing::TestWithParam<PlotCase> {};

TEST_P(PlotPicture, RightClickMenuSavesThePlotWithItsLabelsAtTwiceTheResolution) {
  const PlotCase& p = GetParam();
  Rig r;
  ASSERT_TRUE(r.start_connected());
  r.dialogs.shown.clear();
  show_plot(r, p.parts);
  const QPoint block = draw_block(p.surface == Ctl::Picture2 ? r.f.Picture2 : r.f.Picture1,
                                  0x0000FF);  // red

  QMenu* menu = right_click(r, p.surface);
  ASSERT_NE(menu, nullptr);
  EXPECT_TRUE(menu->isVisible());
  EXPECT_EQ(texts(menu), (QStringList{QString::fromUtf8("Save picture as PNG\u2026"),
                                      QStringLiteral("Copy picture")}));

  // The picture covers the plot and every label shown around it.
  const QRect rect = r.w.plot_picture_rect(p.surface);
  for (Ctl c : p.parts) {
    const QRect g(r.widget(c)->mapTo(r.w.canvas(), QPoint(0, 0)), r.widget(c)->size());
    EXPECT_TRUE(rect.contains(g)) << control_name(c);
  }

  TempDir dir;
  const std::string file = (dir.path() / "plot.png").string();
  r.dialogs.save_answers.push_back(file);
  menu->actions()[0]->trigger();
  ASSERT_EQ(r.dialogs.count("save"), 1);
  EXPECT_EQ(r.dialogs.shown.back().text, "(*.png)|*.png");
  EXPECT_EQ(r.dialogs.count("message"), 0);
  EXPECT_EQ(dir.names(), (std::vector<std::string>{"plot.png"}));  // no temporary left

  QImage saved(QString::fromStdString(file), "PNG");
  ASSERT_FALSE(saved.isNull());
  EXPECT_EQ(saved.size(), rect.size() * 2);
  EXPECT_EQ(picture_pixel(r, saved, p.surface, block, 2.0), 0x0000FFu);
  // Next to the block the plot's own background shows through.
  const Surface& s = static_cast<SurfaceView*>(r.widget(p.surface))->surface();
  EXPECT_EQ(picture_pixel(r, saved, p.surface, block + QPoint(6, 0), 2.0),
            s.pixel(block.x() + 6, block.y()));
}

INSTANTIATE_TEST_SUITE_P(Plots, PlotPicture,
                         ::testing::Values(PlotCase{"Phase", Ctl::Picture1, kPhase},
                                           PlotCase{"Spectrum", Ctl::Picture1, kSpectrum},
                                           PlotCase{"Poincare", Ctl::Picture2, kPoincare}),
                         [](const ::testing::TestParamInfo<PlotCase>& info) {
                           return std::string(info.param.name);
                         });

TEST(PlotPictureMenu, CopyPutsThePictureOnTheClipboard) {
  Rig r;
  ASSERT_TRUE(r.start_connected());
  r.dialogs.shown.clear();
  show_plot(r, kPoincare);
  const QPoint block = draw_block(r.f.Picture2, 0x00FF00);
  QMenu* menu = right_click(r, Ctl::Picture2);
  ASSERT_NE(menu, nullptr);
  QGuiApplication::clipboard()->clear();
  menu->actions()[1]->trigger();
  const QImage copied = QGuiApplication::clipboard()->image();
  ASSERT_FALSE(copied.isNull());
  EXPECT_EQ(copied.size(), r.w.plot_picture_rect(Ctl::Picture2).size() * 2);
  EXPECT_EQ(
      picture_pixel(r, copied.convertToFormat(QImage::Format_RGB32), Ctl::Picture2, block, 2.0),
      0x00FF00u);
}

TEST(PlotPictureMenu, TheSpectrumPictureTakesTheSpectrumLabelsNotThePhasePlots) {
  Rig r;
  ASSERT_TRUE(r.start_connected());
  r.dialogs.shown.clear();
  show_plot(r, kSpectrum);
  const QRect spectrum = r.w.plot_picture_rect(Ctl::Picture1);
  for (Ctl c : kSpectrum) r.f.ui.set_visible(c, false);
  show_plot(r, kPhase);
  const QRect phase = r.w.plot_picture_rect(Ctl::Picture1);
  // The phase plot's axis title stands at the window's left edge, the spectrum's further in.
  EXPECT_LT(phase.left(), spectrum.left());
  EXPECT_LT(phase.top(), spectrum.top());  // the phase plot's title above it
}

TEST(PlotPictureMenu, CancelOrARefusedPathWritesNothingAndSaysWhy) {
  Rig r;
  ASSERT_TRUE(r.start_connected());
  r.dialogs.shown.clear();
  show_plot(r, kPhase);
  TempDir dir;
  QMenu* menu = right_click(r, Ctl::Picture1);
  ASSERT_NE(menu, nullptr);
  menu->actions()[0]->trigger();  // the dialog is cancelled
  EXPECT_EQ(r.dialogs.count("save"), 1);
  EXPECT_EQ(r.dialogs.count("message"), 0);

  // A folder where the file should be: refused with a message naming it.
  fs::create_directory(dir.path() / "taken.png");
  r.dialogs.save_answers.push_back((dir.path() / "taken.png").string());
  menu = right_click(r, Ctl::Picture1);
  ASSERT_NE(menu, nullptr);
  menu->actions()[0]->trigger();
  ASSERT_EQ(r.dialogs.count("message"), 1);
  EXPECT_NE(r.dialogs.shown.back().text.find("taken.png"), std::string::npos)
      << r.dialogs.shown.back().text;
  EXPECT_EQ(dir.names(), (std::vector<std::string>{"taken.png"}));
  EXPECT_TRUE(fs::is_directory(dir.path() / "taken.png"));
}

TEST(PlotPictureMenu, NoMenuWhileACommandRuns) {
  Rig r;
  ASSERT_TRUE(r.start_connected());
  r.dialogs.shown.clear();
  show_plot(r, kPhase);
  QMenu* during = nullptr;
  r.w.run_command([&] {
    during = r.w.open_plot_menu(Ctl::Picture1, QPoint(10, 10));
    right_click(r, Ctl::Picture1);  // held back like every click
    during = during ? during : r.w.findChild<QMenu*>(QStringLiteral("plot_menu"));
  });
  EXPECT_EQ(during, nullptr);
}

}  // namespace
}  // namespace kv::test
