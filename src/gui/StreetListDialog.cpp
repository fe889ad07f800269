#include "gui/StreetListDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace viamappa {

namespace {

QString Text(const std::string& text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// A group of one check box over an editable list of the entries.
QGroupBox* Group(const char* title, const char* box_text,
                 const std::vector<StreetListDialogModel::Entry>& entries, QCheckBox*& box, QComboBox*& list,
                 QWidget* parent) {
  auto* group = new QGroupBox(QString::fromUtf8(title), parent);
  box = new QCheckBox(QString::fromUtf8(box_text), group);
  list = new QComboBox(group);
  list->setEditable(true);
  // What the person types stays typed: the model checks it at OK.
  list->setInsertPolicy(QComboBox::NoInsert);
  list->setMinimumContentsLength(40);
  for (const StreetListDialogModel::Entry& entry : entries) list->addItem(Text(entry.text));
  list->setCurrentIndex(-1);
  list->setEditText(QString());
  auto* layout = new QVBoxLayout(group);
  layout->addWidget(box);
  layout->addWidget(list);
  return group;
}

}  // namespace

StreetListDialog::StreetListDialog(StreetListDialogModel& model, UserInterface& messages, QWidget* parent)
    : QDialog(parent), model_(model), messages_(messages) {
  setWindowTitle(QString::fromUtf8(StreetListDialogModel::kTitle));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(Group(StreetListDialogModel::kMunicipalityGroup, StreetListDialogModel::kMunicipalityBox,
                          model.municipalities(), municipality_box_, municipality_list_, this));
  layout->addWidget(Group(StreetListDialogModel::kLocalityGroup, StreetListDialogModel::kLocalityBox,
                          model.localities(), locality_box_, locality_list_, this));
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
  buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Annulla"));
  layout->addWidget(buttons);
  connect(buttons, &QDialogButtonBox::accepted, this, &StreetListDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &StreetListDialog::reject);
  connect(municipality_box_, &QCheckBox::toggled, this, [this](bool checked) {
    model_.CheckMunicipality(checked);
    ShowModel();
  });
  connect(locality_box_, &QCheckBox::toggled, this, [this](bool checked) {
    model_.CheckLocality(checked);
    ShowModel();
  });
  ShowModel();
}

void StreetListDialog::ShowModel() {
  const QSignalBlocker municipality(municipality_box_);
  const QSignalBlocker locality(locality_box_);
  municipality_box_->setChecked(model_.municipality_checked());
  municipality_box_->setEnabled(model_.municipality_box_enabled());
  municipality_list_->setEnabled(model_.municipality_list_enabled());
  locality_box_->setChecked(model_.locality_checked());
  locality_box_->setEnabled(model_.locality_box_enabled());
  locality_list_->setEnabled(model_.locality_list_enabled());
}

void StreetListDialog::accept() {
  model_.SetMunicipalityText(municipality_list_->currentText().toStdString());
  model_.SetLocalityText(locality_list_->currentText().toStdString());
  if (const std::optional<std::string> refusal = model_.Accept()) {
    messages_.ShowMessage(*refusal, MessageIcon::Stop);
    return;
  }
  QDialog::accept();
}

}  // namespace viamappa
