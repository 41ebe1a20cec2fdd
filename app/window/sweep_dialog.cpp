#include "app/window/sweep_dialog.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace kv {

namespace {

QString qs(std::string_view s) {
  return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

// The parameters as the panel captions them ("Drive amplitude"), each with its name.
QComboBox* parameter_box(bool with_none, QWidget* parent) {
  auto* c = new QComboBox(parent);
  if (with_none) c->addItem(QStringLiteral("none"), QString());
  for (const PanelBox* box : kPanelBoxes) {
    std::string_view caption = box->caption;
    if (!caption.empty() && caption.back() == '=') caption.remove_suffix(1);
    c->addItem(qs(caption), qs(box->option.substr(2)));
  }
  return c;
}

void choose(QComboBox* c, const std::string& name) {
  const int i = c->findData(QString::fromStdString(name));
  c->setCurrentIndex(i < 0 ? 0 : i);
}

std::string text_of(const QLineEdit* e) {
  return e->text().trimmed().toStdString();
}

}  // namespace

std::string sweep_field_name(std::string_view option) {
  std::string name(option.substr(option.rfind('-') + 1));
  if (option == "--transient") return "Transient T";
  if (option == "--points") return "Points K";
  const bool second = !name.empty() && name.back() == '2';
  if (second) name.pop_back();
  if (!name.empty()) name[0] = static_cast<char>(name[0] - 'a' + 'A');
  return second ? name + " 2" : name;
}

std::string sweep_request_from(const SweepTexts& t, const PanelTexts& base, SweepRequest& r) {
  r = SweepRequest{};
  r.base = base;
  if (std::string e = read_sweep_texts(t, r, sweep_field_name); !e.empty()) return e;
  return check_sweep(r);
}

SweepDialog::SweepDialog(const PanelTexts& base, QWidget* parent) : QDialog(parent), base_(base) {
  setWindowTitle(QStringLiteral("Sweep"));
  setObjectName(QStringLiteral("sweep_dialog"));
  auto* top = new QVBoxLayout(this);
  const auto axis_group = [&](const QString& title, QComboBox*& param, QLineEdit*& from,
                              QLineEdit*& to, QLineEdit*& steps, bool second) {
    auto* g = new QGroupBox(title, this);
    auto* form = new QFormLayout(g);
    const QString n = second ? QStringLiteral(" 2") : QString();
    param = parameter_box(second, g);
    from = new QLineEdit(g);
    to = new QLineEdit(g);
    steps = new QLineEdit(g);
    form->addRow(QStringLiteral("Parameter") + n, param);
    form->addRow(QStringLiteral("From") + n, from);
    form->addRow(QStringLiteral("To") + n, to);
    form->addRow(QStringLiteral("Steps") + n, steps);
    top->addWidget(g);
  };
  axis_group(QStringLiteral("Swept parameter"), param_, from_, to_, steps_, false);
  axis_group(QStringLiteral("Second parameter (a Lyapunov map over both)"), param2_, from2_, to2_,
             steps2_, true);

  auto* counts = new QGroupBox(QStringLiteral("Every value"), this);
  auto* form = new QFormLayout(counts);
  transient_ = new QLineEdit(counts);
  points_ = new QLineEdit(counts);
  form->addRow(QStringLiteral("Transient T (drive periods left out)"), transient_);
  form->addRow(QStringLiteral("Points K (kept, one per drive period)"), points_);
  const auto choice = [&](QButtonGroup*& group, const QString& a, const QString& b) {
    group = new QButtonGroup(this);
    auto* row = new QHBoxLayout;
    for (const QString& text : {a, b}) {
      auto* radio = new QRadioButton(text, counts);
      group->addButton(radio, group->buttons().size());
      row->addWidget(radio);
    }
    group->button(0)->setChecked(true);
    return row;
  };
  form->addRow(QStringLiteral("Start"),
               choice(start_, QStringLiteral("fresh (the panel's initial state)"),
                      QStringLiteral("follow (the previous value's end)")));
  form->addRow(QStringLiteral("Show"),
               choice(kind_, QStringLiteral("orbit diagram"), QStringLiteral("Lyapunov map")));
  top->addWidget(counts);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("Start"));
  connect(buttons, &QDialogButtonBox::accepted, this, &SweepDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &SweepDialog::reject);
  top->addWidget(buttons);

  // The range starts at the parameter's panel value.
  connect(param_, &QComboBox::currentIndexChanged, this, [this] {
    if (const PanelBox* box = swept_box(param_->currentData().toString().toStdString()))
      from_->setText(QString::fromStdString(base_.*(box->text)));
  });
  SweepTexts start;
  start.param = "drive-amplitude";
  start.from = base.drive_amplitude;
  start.steps = "200";
  start.transient = "200";
  start.points = "100";
  set_texts(start);
}

SweepTexts SweepDialog::texts() const {
  SweepTexts t;
  t.param = param_->currentData().toString().toStdString();
  t.param2 = param2_->currentData().toString().toStdString();
  t.from = text_of(from_);
  t.to = text_of(to_);
  t.steps = text_of(steps_);
  if (!t.param2.empty()) {
    t.from2 = text_of(from2_);
    t.to2 = text_of(to2_);
    t.steps2 = text_of(steps2_);
  }
  t.transient = text_of(transient_);
  t.points = text_of(points_);
  t.follow = start_->checkedId() == 1;
  if (kind_->checkedId() == 1) t.map = "lyapunov";
  return t;
}

void SweepDialog::set_texts(const SweepTexts& t) {
  {
    const QSignalBlocker block(param_);
    choose(param_, t.param);
  }
  choose(param2_, t.param2);
  from_->setText(QString::fromStdString(t.from));
  to_->setText(QString::fromStdString(t.to));
  steps_->setText(QString::fromStdString(t.steps));
  from2_->setText(QString::fromStdString(t.from2));
  to2_->setText(QString::fromStdString(t.to2));
  steps2_->setText(QString::fromStdString(t.steps2));
  transient_->setText(QString::fromStdString(t.transient));
  points_->setText(QString::fromStdString(t.points));
  start_->button(t.follow ? 1 : 0)->setChecked(true);
  kind_->button(t.map.empty() && t.param2.empty() ? 0 : 1)->setChecked(true);
}

void SweepDialog::accept() {
  if (std::string e = sweep_request_from(texts(), base_, request_); !e.empty()) {
    QMessageBox::warning(this, QStringLiteral("Sweep refused"), QString::fromStdString(e));
    return;
  }
  QDialog::accept();
}

}  // namespace kv
