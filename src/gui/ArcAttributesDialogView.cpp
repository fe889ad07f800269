#include "gui/ArcAttributesDialogView.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/DialogUnits.h"

namespace viamappa {

namespace {

QString FromUtf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QLineEdit* ShownOnly(std::string_view text) {
  auto* edit = new QLineEdit(FromUtf8(text));
  edit->setEnabled(false);
  return edit;
}

QLineEdit* Editable(std::string_view text) {
  auto* edit = new QLineEdit(FromUtf8(text));
  edit->setMaxLength(static_cast<int>(kArcNameCharacters));
  return edit;
}

}  // namespace

ArcAttributesDialogView::ArcAttributesDialogView(ArcAttributesDialog& model, QWidget* parent)
    : QDialog(parent), model_(model) {
  setObjectName(QStringLiteral("ArcAttributesDialog"));
  setWindowTitle(FromUtf8(ArcAttributesDialog::kTitle));
  setModal(true);
  const ArcAttributesInputs& in = model.inputs();
  id_ = ShownOnly(model.id_text());
  element_code_ = ShownOnly(in.codele);
  region_code_ = ShownOnly(in.codreg);
  name_ = Editable(model.name());
  first_name_ = ShownOnly(in.orgden);
  alternative_ = Editable(model.alternative());
  first_alternative_ = ShownOnly(in.orgalt);
  classes_ = new QComboBox;
  for (const std::string_view entry : kRoadClassEntries) classes_->addItem(FromUtf8(entry));
  classes_->setCurrentIndex(model.class_index());

  // The identifier and the codes on the first line, then each name over its first-imported form.
  auto* grid = new QGridLayout;
  const auto label = [](const char* text, QWidget* buddy) {
    auto* shown = new QLabel(QString::fromUtf8(text));
    shown->setBuddy(buddy);
    return shown;
  };
  grid->addWidget(label("ID", id_), 0, 0);
  grid->addWidget(id_, 0, 1);
  grid->addWidget(label("Cod. Elemento", element_code_), 0, 2);
  grid->addWidget(element_code_, 0, 3);
  grid->addWidget(label("Cod. Regionale", region_code_), 1, 2);
  grid->addWidget(region_code_, 1, 3);
  grid->addWidget(label("Denominazione", name_), 2, 0);
  grid->addWidget(name_, 2, 1, 1, 3);
  grid->addWidget(first_name_, 3, 1, 1, 3);
  grid->addWidget(label("Alternativa", alternative_), 4, 0);
  grid->addWidget(alternative_, 4, 1, 1, 3);
  grid->addWidget(first_alternative_, 5, 1, 1, 3);
  grid->addWidget(label("Classe Strada", classes_), 6, 0);
  grid->addWidget(classes_, 6, 1, 1, 3);

  ok_ = new QPushButton(QStringLiteral("OK"));
  ok_->setDefault(true);
  delete_ = new QPushButton(QStringLiteral("Elimina"));
  delete_->setEnabled(model.deletion_enabled());
  cancel_ = new QPushButton(QStringLiteral("Annulla"));
  connect(ok_, &QPushButton::clicked, this, &ArcAttributesDialogView::Confirm);
  connect(delete_, &QPushButton::clicked, this, &ArcAttributesDialogView::AskDeletion);
  connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ok_);
  buttons->addWidget(delete_);
  buttons->addWidget(cancel_);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addStretch();
  layout->addLayout(buttons);
  setMinimumSize(DialogUnitsToPixels(*this, 250, 175));
  name_->setFocus();
}

ArcDialogClose ArcAttributesDialogView::Run() {
  const int result = exec();
  if (result == static_cast<int>(ArcDialogClose::Ok)) return ArcDialogClose::Ok;
  if (result == static_cast<int>(ArcDialogClose::Delete)) return ArcDialogClose::Delete;
  return ArcDialogClose::Cancel;
}

void ArcAttributesDialogView::Confirm() {
  model_.SetName(name_->text().toStdString());
  model_.SetAlternative(alternative_->text().toStdString());
  model_.SetClassIndex(classes_->currentIndex());
  if (model_.Accept()) {
    done(static_cast<int>(ArcDialogClose::Ok));
    return;
  }
  // The check may have corrected one of the names before refusing the other.
  name_->setText(FromUtf8(model_.name()));
  alternative_->setText(FromUtf8(model_.alternative()));
  name_->setFocus();
}

void ArcAttributesDialogView::AskDeletion() {
  if (model_.ConfirmDeletion()) done(static_cast<int>(ArcDialogClose::Delete));
}

}  // namespace viamappa
