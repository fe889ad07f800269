#include "gui/HighlightCriteriaDialogView.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace viamappa {

namespace {

QString Text(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

HighlightCriteriaDialogView::HighlightCriteriaDialogView(HighlightCriteriaDialog& model, QWidget* parent)
    : QDialog(parent), model_(model) {
  setObjectName(QStringLiteral("HighlightCriteriaDialog"));
  setWindowTitle(Text(HighlightCriteriaDialog::kTitle));
  auto* classes = new QGroupBox(Text(HighlightCriteriaDialog::kClassesGroup), this);
  auto* states = new QGroupBox(Text(HighlightCriteriaDialog::kStatesGroup), this);
  auto* class_layout = new QVBoxLayout(classes);
  auto* state_layout = new QVBoxLayout(states);
  for (const HighlightCriterionInfo& info : HighlightCriteriaTable()) {
    const bool is_class = !info.classe.empty();
    auto* box = new QCheckBox(Text(info.label), is_class ? classes : states);
    box->setProperty("control", info.control);
    (is_class ? class_layout : state_layout)->addWidget(box);
    boxes_[info.criterion] = box;
    const HighlightCriterion criterion = info.criterion;
    connect(box, &QCheckBox::clicked, this, [this, criterion] {
      model_.Toggle(criterion);
      ShowModel();
    });
  }
  class_layout->addStretch(1);
  // The indicator belongs to no group.
  none_ = new QCheckBox(Text(HighlightCriteriaDialog::kNoneBox), this);
  none_->setProperty("control", HighlightCriteriaDialog::kNoneControl);
  connect(none_, &QCheckBox::clicked, this, [this] {
    model_.ClickNone();
    ShowModel();
  });

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Ok)->setText(Text(HighlightCriteriaDialog::kOkButton));
  buttons->button(QDialogButtonBox::Cancel)->setText(Text(HighlightCriteriaDialog::kCancelButton));
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* groups = new QHBoxLayout;
  groups->addWidget(classes);
  groups->addWidget(states);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(groups);
  layout->addWidget(none_);
  layout->addWidget(buttons);
  ShowModel();
}

QCheckBox* HighlightCriteriaDialogView::Box(int control) const {
  if (control == HighlightCriteriaDialog::kNoneControl) return none_;
  for (const HighlightCriterionInfo& info : HighlightCriteriaTable())
    if (info.control == control) return boxes_.at(info.criterion);
  return nullptr;
}

void HighlightCriteriaDialogView::ShowModel() {
  for (const auto& [criterion, box] : boxes_) {
    const QSignalBlocker quiet(box);
    box->setChecked(model_.checked(criterion));
  }
  const QSignalBlocker quiet(none_);
  none_->setChecked(model_.none_checked());
}

}  // namespace viamappa
