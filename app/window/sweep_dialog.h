// The dialog of the window's "Sweep…" command: the swept parameter (any of the panel's),
// an optional second one for a Lyapunov map, their ranges and steps, the transient and
// kept points, fresh or follow, orbit diagram or map. It reads its texts as kestavor-cli
// reads its options (sweep/sweep_texts.h), over the panel's current texts, so the same
// values make the same request and the same refusals.
#pragma once

#include <QDialog>
#include <string>

#include "simulation/sim_panel.h"
#include "sweep/sweep_texts.h"

class QButtonGroup;
class QComboBox;
class QLineEdit;

namespace kv {

// The dialog's name of a field, given the command line's option ("--from2" -> "From 2").
std::string sweep_field_name(std::string_view option);

// The request of the dialog's texts over the panel texts `base`: an empty text when it can
// run, else the message that names what is wrong.
std::string sweep_request_from(const SweepTexts& t, const PanelTexts& base, SweepRequest& r);

class SweepDialog : public QDialog {
  Q_OBJECT

 public:
  // Starts from the panel's texts: the swept parameter's range starts at its panel value.
  SweepDialog(const PanelTexts& base, QWidget* parent = nullptr);

  SweepTexts texts() const;
  void set_texts(const SweepTexts& t);
  // The request once the dialog was accepted.
  const SweepRequest& request() const { return request_; }

  // Reads the texts; a refusal is told in a message box and the dialog stays open.
  void accept() override;

 private:
  PanelTexts base_;
  SweepRequest request_;
  QComboBox *param_, *param2_;
  QLineEdit *from_, *to_, *steps_, *from2_, *to2_, *steps2_, *transient_, *points_;
  QButtonGroup *start_, *kind_;
};

}  // namespace kv
