// A sweep shown while it runs (the window's sweep window): the engine on a thread of its
// own, the cells taken in grid order into the picture and kept for "Save data as…", the
// region of a dragged rectangle recomputed at full resolution and Back to the view before.
// No Qt: the window only paints the picture and passes the user's actions on.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "platform/run_control.h"
#include "sweep/sweep.h"
#include "sweep/sweep_picture.h"

namespace kv {

// run_sweep on a thread of its own. The cells wait in a queue for take() (at most 4096:
// the engine then waits); halt() asks the run control to stop the sweep.
class SweepJob {
 public:
  explicit SweepJob(const SweepRequest& r);
  ~SweepJob();  // halts and waits for the thread
  SweepJob(const SweepJob&) = delete;
  SweepJob& operator=(const SweepJob&) = delete;

  void halt();
  // The cells finished since the last call, in grid order.
  std::vector<SweepCell> take();
  // The engine has returned (its cells may still wait for take()).
  bool finished() const { return finished_.load(); }
  // How the sweep ended; valid once finished().
  const SweepOutcome& outcome() const { return outcome_; }
  std::int64_t done() const { return control_.done.load(); }
  std::int64_t total() const { return control_.total.load(); }

 private:
  struct Control : RunControl {
    std::atomic<bool> halt{false};
    std::atomic<std::int64_t> done{0}, total{0};
    bool halt_requested() override { return halt.load(); }
    void progress(std::int64_t d, std::int64_t t) override {
      done.store(d);
      total.store(t);
    }
  };
  Control control_;
  std::mutex m_;
  std::condition_variable room_;
  std::deque<SweepCell> queue_;
  SweepOutcome outcome_;
  std::atomic<bool> finished_{false};
  std::thread thread_;
};

// What the sweep window shows: a request, its picture and the cells it has so far.
struct SweepView {
  SweepRequest request;
  SweepPicture picture;
  std::vector<SweepCell> cells;
  bool ended = false;  // the sweep has returned: `outcome` tells how
  SweepOutcome outcome;
  double y_from = 0, y_to = 0;  // an orbit diagram's vertical range (phase, radian)
};

// The request of the region between fractions x0..x1 across and y0..y1 up of `p`, the
// picture of `r` (0 at the left and bottom edges, 1 at the right and top): the swept axes
// over that region with the same steps, each value rounded to the fewest digits that keep
// it within a quarter of a step. An orbit diagram's vertical axis is no parameter: only x
// changes. A range keeps its direction.
SweepRequest zoomed_request(const SweepRequest& r, const SweepPicture& p, double x0, double x1,
                            double y0, double y1);

class SweepSession {
 public:
  // The picture's raster is at most width x height pixels.
  SweepSession(int width, int height) : width_(width), height_(height) {}

  // A new sweep (the views before it are forgotten).
  void start(const SweepRequest& r);
  // Takes the cells finished since the last call into the picture; true when anything
  // changed (cells came, or the sweep ended).
  bool poll();
  bool running() const { return job_ != nullptr; }
  void halt();
  // Stops a running sweep and empties the picture and its data (the request stays).
  void clear();
  // Recomputes the region of a dragged rectangle (fractions of the picture as in
  // zoomed_request); the view before it is kept for back(). False for an empty region.
  bool zoom(double x0, double x1, double y0, double y1);
  // Returns to the view before the last zoom (stopping a running sweep); false when none.
  bool back();
  bool can_go_back() const { return !history_.empty(); }

  const SweepView& view() const { return view_; }
  std::int64_t done() const { return job_ ? job_->done() : view_.outcome.cells; }
  std::int64_t total() const { return sweep_cells(view_.request); }

  // Writes the data as kestavor-cli sweep writes its file (the same header, rows and
  // summary, through a temporary file that replaces `path` only when complete). An empty
  // text when written, else what went wrong (a sweep not run to its end is not saved, and
  // the file of that name stays as it was).
  std::string save_data(const std::string& path, std::string_view version) const;

 private:
  // A view of `r` with nothing in it yet (an orbit diagram over y_from..y_to when given).
  void empty_view(SweepRequest r, double y_from, double y_to);
  void run(SweepRequest r, double y_from, double y_to);

  int width_, height_;
  SweepView view_;
  std::unique_ptr<SweepJob> job_;
  std::vector<SweepView> history_;
};

}  // namespace kv
