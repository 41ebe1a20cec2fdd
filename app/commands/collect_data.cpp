#include "app/commands/collect_data.h"

#include "app/state/form1.h"

namespace kv {

AcquisitionContext acquisition_context(Form1& f) {
  return {f, f, f, f.files, f.sys.clock};
}

std::string run_end_status(RunEnd end, const InterfaceBox* box, std::uint32_t& color) {
  const std::string name = box ? " (" + box->name() + ")" : std::string();
  color = kRed;
  switch (end) {
    case RunEnd::BoxGone:
      return box ? "The interface box" + name + " has gone: the run was stopped."
                 : "No interface box is open: the run was stopped.";
    case RunEnd::BoxSilent:
      return "The interface box" + name + " sent nothing for " +
             std::to_string(kSilenceLimitMs / 1000) + " seconds: the run was stopped.";
    case RunEnd::EndOfData:
      color = kGreen;
      return "End of the replayed records" + name + ": the run was stopped.";
    default:
      return {};
  }
}

void begin_acquisition_run(Form1& f) {
  f.ui.set_enabled(Ctl::Text18, true);
  f.ui.set_back(Ctl::Text18, f.saving ? kRed : kGreen);
  // A message left by an earlier run (box gone, end of data) no longer applies.
  f.ui.set_visible(Ctl::Text58, false);
  f.sys.pump.repaint();
}

void end_acquisition_run(Form1& f, RunEnd end) {
  std::uint32_t color = kRed;
  const std::string status = run_end_status(end, f.device.get(), color);
  if (!status.empty()) f.show_status(status, color);
  // The command buttons a run was started from lose their white.
  for (Ctl c : {Ctl::Text10, Ctl::Text13, Ctl::Text14}) f.ui.set_back(c, kGrey);
  f.ui.set_enabled(Ctl::Text18, false);
  f.ui.set_back(Ctl::Text18, kGrey);
  f.sys.pump.repaint();
}

RunEnd COLLECT_DATA(Form1& f, RunControl& run) {
  begin_acquisition_run(f);
  const RunEnd end = get_data(acquisition_context(f), run);
  end_acquisition_run(f, end);
  return end;
}

}  // namespace kv
