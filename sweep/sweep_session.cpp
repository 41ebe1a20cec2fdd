#include "sweep/sweep_session.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "sweep/sweep_file.h"
#include "sweep/sweep_texts.h"

namespace kv {

namespace {

constexpr std::size_t kQueueLimit = 4096;

// `v` with the fewest significant digits that keep it within `tolerance`.
double rounded(double v, double tolerance) {
  char text[40];
  for (int digits = 1; digits < 17; ++digits) {
    std::snprintf(text, sizeof text, "%.*g", digits, v);
    const double r = std::strtod(text, nullptr);
    if (std::fabs(r - v) <= tolerance) return r;
  }
  return v;
}

// The axis over fractions t0..t1 of the picture's range lo..hi.
SweepAxis zoomed_axis(const SweepAxis& a, double lo, double hi, double t0, double t1) {
  if (a.steps <= 1) return a;
  const double step = (hi - lo) / static_cast<double>(a.steps - 1);
  const double v0 = rounded(lo + t0 * (hi - lo), step / 4);
  const double v1 = rounded(lo + t1 * (hi - lo), step / 4);
  SweepAxis z = a;
  z.from = a.from <= a.to ? v0 : v1;
  z.to = a.from <= a.to ? v1 : v0;
  return z;
}

}  // namespace

SweepJob::SweepJob(const SweepRequest& r) {
  control_.total.store(sweep_cells(r));
  thread_ = std::thread([this, r] {
    SweepOutcome out = run_sweep(r, control_, [this](const SweepCell& c) {
      std::unique_lock lock(m_);
      room_.wait(lock, [this] { return queue_.size() < kQueueLimit || control_.halt.load(); });
      if (!control_.halt.load()) queue_.push_back(c);
      return true;
    });
    outcome_ = std::move(out);
    finished_.store(true);
  });
}

SweepJob::~SweepJob() {
  halt();
  thread_.join();
}

void SweepJob::halt() {
  {
    std::lock_guard lock(m_);
    control_.halt.store(true);
  }
  room_.notify_all();
}

std::vector<SweepCell> SweepJob::take() {
  std::vector<SweepCell> cells;
  {
    std::lock_guard lock(m_);
    cells.assign(std::make_move_iterator(queue_.begin()), std::make_move_iterator(queue_.end()));
    queue_.clear();
  }
  room_.notify_all();
  return cells;
}

SweepRequest zoomed_request(const SweepRequest& r, const SweepPicture& p, double x0, double x1,
                            double y0, double y1) {
  SweepRequest z = r;
  z.x = zoomed_axis(r.x, p.x_from, p.x_to, std::min(x0, x1), std::max(x0, x1));
  if (r.y.box && !p.curve && p.kind == SweepKind::lyapunov)
    z.y = zoomed_axis(r.y, p.y_from, p.y_to, std::min(y0, y1), std::max(y0, y1));
  return z;
}

void SweepSession::empty_view(SweepRequest r, double y_from, double y_to) {
  job_.reset();
  view_ = SweepView{};
  view_.request = r;
  view_.picture.begin(r, OrbitAxis::phase, 0, width_, height_);
  if (r.kind == SweepKind::orbit && y_from < y_to) {
    view_.picture.y_from = y_from;
    view_.picture.y_to = y_to;
  }
  view_.y_from = view_.picture.y_from;
  view_.y_to = view_.picture.y_to;
  view_.picture.finish();
}

void SweepSession::run(SweepRequest r, double y_from, double y_to) {
  empty_view(r, y_from, y_to);
  job_ = std::make_unique<SweepJob>(r);
}

void SweepSession::start(const SweepRequest& r) {
  history_.clear();
  run(r, 0, 0);
}

bool SweepSession::poll() {
  if (!job_) return false;
  const bool ended = job_->finished();  // read first: the cells taken then are all of them
  std::vector<SweepCell> cells = job_->take();
  for (const SweepCell& c : cells) view_.picture.add(view_.request, c);
  if (!cells.empty()) view_.picture.finish();
  view_.cells.insert(view_.cells.end(), std::make_move_iterator(cells.begin()),
                     std::make_move_iterator(cells.end()));
  if (ended) {
    view_.outcome = job_->outcome();
    view_.ended = true;
    job_.reset();
  }
  return ended || !cells.empty();
}

void SweepSession::halt() {
  if (job_) job_->halt();
}

void SweepSession::clear() {
  empty_view(view_.request, view_.y_from, view_.y_to);
}

bool SweepSession::zoom(double x0, double x1, double y0, double y1) {
  const SweepPicture& p = view_.picture;
  const bool orbit = view_.request.kind == SweepKind::orbit;
  const bool across = x0 != x1 && view_.request.x.steps > 1;
  const bool up = y0 != y1 && (orbit || (view_.request.y.box && view_.request.y.steps > 1));
  if (!across && !up) return false;
  job_.reset();
  const SweepRequest z =
      zoomed_request(view_.request, p, across ? x0 : 0, across ? x1 : 1, up ? y0 : 0, up ? y1 : 1);
  double y_from = view_.y_from, y_to = view_.y_to;
  if (orbit && up) {
    y_from = p.y_from + std::min(y0, y1) * (p.y_to - p.y_from);
    y_to = p.y_from + std::max(y0, y1) * (p.y_to - p.y_from);
  }
  history_.push_back(std::move(view_));
  run(z, y_from, y_to);
  return true;
}

bool SweepSession::back() {
  if (history_.empty()) return false;
  job_.reset();
  view_ = std::move(history_.back());
  history_.pop_back();
  // A view left while it was filling is filled anew.
  if (!view_.ended) run(view_.request, view_.y_from, view_.y_to);
  return true;
}

std::string SweepSession::save_data(const std::string& path, std::string_view version) const {
  if (!view_.ended || !view_.outcome.done())
    return "The sweep did not run to its end: " + path + " was not written.";
  SweepCsv csv;
  bool ok = csv.open(path, view_.request, version, repeat_command(view_.request));
  for (std::size_t i = 0; ok && i < view_.cells.size(); ++i) ok = csv.write(view_.cells[i]);
  if (ok && csv.keep(view_.outcome)) return {};
  const std::string why = csv.error();
  csv.discard();
  return why;
}

}  // namespace kv
