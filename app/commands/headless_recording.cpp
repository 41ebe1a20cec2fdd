#include "app/commands/headless_recording.h"

#include "app/commands/startup.h"
#include "app/state/form1.h"
#include "platform/run_control.h"
#include "platform/scripted_services.h"

namespace kv {

HeadlessResult record_headless(std::unique_ptr<InterfaceBox> box, const HeadlessRecording& job) {
  ScriptedServices s;
  s.use_system_clock = job.system_clock;
  // Form1 holds the large point tables; keep it off the stack.
  auto f = std::make_unique<Form1>(s.services());
  Form_Load(*f, std::move(box));
  const std::size_t shown_at_start = s.dialogs.shown.size();

  s.dialogs.input_answers.push_back(job.count_reply);
  s.dialogs.save_answers.push_back(job.path);
  HeadlessResult result;
  RunToEnd to_end;
  RunControl& run = job.run ? *job.run : to_end;
  result.outcome = job.kind == RecordingKind::Orbit ? save_orbit(*f, run) : save_poincare(*f, run);
  for (std::size_t i = shown_at_start; i < s.dialogs.shown.size(); ++i)
    if (s.dialogs.shown[i].kind == "message") result.messages.push_back(s.dialogs.shown[i].text);
  if (f->ui[Ctl::Text58].visible) result.status = f->ui[Ctl::Text58].text;
  if (f->device) f->device->close();
  return result;
}

}  // namespace kv
