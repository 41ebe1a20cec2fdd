#include "app/commands/headless_recording.h"

#include "app/commands/startup.h"
#include "app/state/form1.h"
#include "platform/scripted_services.h"

namespace kv {

HeadlessResult record_headless(std::unique_ptr<InterfaceBox> box, const HeadlessRecording& job) {
  ScriptedServices s;
  s.use_system_clock = job.system_clock;
  Services services = s.services();
  Services chosen{services.dialogs, job.pointer ? *job.pointer : services.pointer,
                  services.clock,   services.help,
                  services.pump,    services.timer1};
  // Form1 holds the large point tables; keep it off the stack.
  auto f = std::make_unique<Form1>(chosen);
  Form_Load(*f, std::move(box));
  const std::size_t shown_at_start = s.dialogs.shown.size();

  s.dialogs.input_answers.push_back(job.count_reply);
  s.dialogs.save_answers.push_back(job.path);
  HeadlessResult result;
  result.outcome = job.kind == RecordingKind::Orbit ? save_orbit(*f) : save_poincare(*f);
  for (std::size_t i = shown_at_start; i < s.dialogs.shown.size(); ++i)
    if (s.dialogs.shown[i].kind == "message") result.messages.push_back(s.dialogs.shown[i].text);
  if (f->ui[Ctl::Text58].visible) result.status = f->ui[Ctl::Text58].text;
  if (f->device) f->device->close();
  return result;
}

}  // namespace kv
