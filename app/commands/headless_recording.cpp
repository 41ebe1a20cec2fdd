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
  load_headless(*f, std::move(box));

  HeadlessResult result;
  RunToEnd to_end;
  RunControl& run = job.run ? *job.run : to_end;
  prepare_recording(*f, job.request.kind);
  result.outcome = record(*f, job.request, run);
  if (!result.outcome.reason.empty()) result.messages.push_back(result.outcome.reason);
  if (f->ui[Ctl::Text58].visible) result.status = f->ui[Ctl::Text58].text;
  if (f->device) f->device->close();
  return result;
}

}  // namespace kv
