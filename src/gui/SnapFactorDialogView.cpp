#include "gui/SnapFactorDialogView.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace viamappa {

namespace {

QString FromUtf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

SnapFactorDialogView::SnapFactorDialogView(QWidget* parent, SnapFactorDialog& model,
                                           std::function<void(const std::string&)> warn)
    : QDialog(parent), model_(model), warn_(std::move(warn)), field_(new QLineEdit(FromUtf8(model.text()))) {
  setWindowTitle(FromUtf8(SnapFactorDialog::kTitle));
  setModal(true);
  auto* row = new QHBoxLayout;
  auto* label = new QLabel(FromUtf8(SnapFactorDialog::kLabel));
  label->setBuddy(field_);
  row->addWidget(label);
  row->addWidget(field_);
  field_->selectAll();

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(row);
  for (const std::string_view line : SnapFactorDialog::kExplanation) {
    auto* text = new QLabel(FromUtf8(line));
    text->setTextFormat(Qt::PlainText);
    layout->addWidget(text);
  }
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
  buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Annulla"));
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

void SnapFactorDialogView::accept() {
  model_.SetText(field_->text().toStdString());
  if (const std::optional<std::string> refusal = model_.Accept()) {
    if (warn_) warn_(*refusal);
    field_->setFocus();
    field_->selectAll();
    return;
  }
  QDialog::accept();
}

}  // namespace viamappa
