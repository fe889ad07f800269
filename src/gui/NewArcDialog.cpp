#include "gui/NewArcDialog.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace viamappa {

namespace {

QString FromUtf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QLineEdit* ShownOnly(const QString& text) {
  auto* edit = new QLineEdit(text);
  edit->setEnabled(false);
  return edit;
}

}  // namespace

NewArcDialog::NewArcDialog(NewArcForm& form, UserInterface& ui, QWidget* parent)
    : QDialog(parent), form_(form), ui_(ui) {
  setObjectName(QStringLiteral("NewArcDialog"));
  setWindowTitle(FromUtf8(NewArcForm::kTitle));
  auto* fields = new QFormLayout;
  fields->addRow(QStringLiteral("ID"), ShownOnly(FromUtf8(NewArcForm::kShownId)));
  fields->addRow(QStringLiteral("Cod. Elemento"), ShownOnly({}));
  fields->addRow(QStringLiteral("Cod. Regionale"), ShownOnly({}));
  name_ = new QLineEdit(FromUtf8(form.name()));
  name_->setMaxLength(static_cast<int>(kArcNameCharacters));
  fields->addRow(QStringLiteral("Denominazione"), name_);
  fields->addRow(QString(), ShownOnly({}));
  alternative_ = new QLineEdit(FromUtf8(form.alternative()));
  alternative_->setMaxLength(static_cast<int>(kArcNameCharacters));
  fields->addRow(QStringLiteral("Alternativa"), alternative_);
  fields->addRow(QString(), ShownOnly({}));
  classes_ = new QComboBox;
  for (const std::string_view entry : kRoadClassEntries) classes_->addItem(FromUtf8(entry));
  classes_->setCurrentIndex(form.class_index());
  fields->addRow(QStringLiteral("Classe Strada"), classes_);

  ok_ = new QPushButton(QStringLiteral("OK"));
  ok_->setDefault(true);
  auto* remove = new QPushButton(QStringLiteral("Elimina"));
  remove->setEnabled(false);  // a new arc has nothing to delete
  auto* cancel = new QPushButton(QStringLiteral("Annulla"));
  connect(ok_, &QPushButton::clicked, this, &NewArcDialog::Confirm);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ok_);
  buttons->addWidget(remove);
  buttons->addWidget(cancel);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(fields);
  layout->addLayout(buttons);
  name_->setFocus();
}

void NewArcDialog::Confirm() {
  form_.SetName(name_->text().toStdString());
  form_.SetAlternative(alternative_->text().toStdString());
  form_.SetClassIndex(classes_->currentIndex());
  if (const std::optional<std::string> refusal = form_.Accept()) {
    ui_.ShowMessage(*refusal, MessageIcon::Stop);
    return;
  }
  accept();
}

}  // namespace viamappa
