#include "gui/BulkRenameDialogView.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace viamappa {

namespace {

QString FromUtf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QPushButton* Button(std::string_view text) {
  auto* button = new QPushButton(FromUtf8(text));
  // Enter in a field must not rename: only a click does.
  button->setAutoDefault(false);
  return button;
}

}  // namespace

BulkRenameDialogView::BulkRenameDialogView(QWidget* parent, BulkRenameDialog& model)
    : QDialog(parent),
      model_(model),
      main_name_(new QRadioButton(FromUtf8(BulkRenameDialog::kMainName))),
      alternative_name_(new QRadioButton(FromUtf8(BulkRenameDialog::kAlternativeName))),
      fragment_(new QLineEdit),
      localities_(new QComboBox),
      municipalities_(new QComboBox),
      search_(Button(BulkRenameDialog::kSearchButton)),
      names_(new QListWidget),
      new_name_(new QLineEdit),
      ok_(Button(BulkRenameDialog::kOkButton)),
      cancel_(Button(BulkRenameDialog::kCancelButton)),
      close_(Button(BulkRenameDialog::kCloseButton)) {
  setWindowTitle(FromUtf8(BulkRenameDialog::kTitle));
  setModal(true);
  fragment_->setMaxLength(static_cast<int>(BulkRenameDialog::kFieldCharacters));
  new_name_->setMaxLength(static_cast<int>(BulkRenameDialog::kFieldCharacters));
  for (const BulkRenameDialog::Entry& entry : model_.localities()) localities_->addItem(FromUtf8(entry.text));
  for (const BulkRenameDialog::Entry& entry : model_.municipalities())
    municipalities_->addItem(FromUtf8(entry.text));

  auto* grid = new QGridLayout;
  const auto label = [](std::string_view text, QWidget* buddy) {
    auto* shown = new QLabel(FromUtf8(text));
    shown->setBuddy(buddy);
    return shown;
  };
  grid->addWidget(main_name_, 0, 1);
  grid->addWidget(alternative_name_, 0, 2);
  grid->addWidget(label(BulkRenameDialog::kFragmentLabel, fragment_), 1, 0);
  grid->addWidget(fragment_, 1, 1, 1, 2);
  grid->addWidget(search_, 1, 3);
  grid->addWidget(label(BulkRenameDialog::kLocalityLabel, localities_), 2, 0);
  grid->addWidget(localities_, 2, 1, 1, 3);
  grid->addWidget(label(BulkRenameDialog::kMunicipalityLabel, municipalities_), 3, 0);
  grid->addWidget(municipalities_, 3, 1, 1, 3);
  grid->addWidget(label(BulkRenameDialog::kNamesLabel, names_), 4, 0, 1, 4);
  grid->addWidget(names_, 5, 0, 1, 4);
  grid->addWidget(label(BulkRenameDialog::kNewNameLabel, new_name_), 6, 0);
  grid->addWidget(new_name_, 6, 1, 1, 3);
  grid->setColumnStretch(1, 1);
  grid->setColumnStretch(2, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ok_);
  buttons->addWidget(cancel_);
  buttons->addWidget(close_);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addLayout(buttons);
  resize(560, 460);

  connect(main_name_, &QRadioButton::toggled, this, [this](bool on) { model_.SetAlternative(!on); });
  connect(fragment_, &QLineEdit::textEdited, this,
          [this](const QString& text) { model_.SetFragment(text.toStdString()); });
  connect(fragment_, &QLineEdit::returnPressed, search_, &QPushButton::click);
  connect(localities_, &QComboBox::activated, this, [this](int index) {
    model_.ChooseLocality(index);
    Refresh();
  });
  connect(municipalities_, &QComboBox::activated, this, [this](int index) {
    model_.ChooseMunicipality(index);
    Refresh();
  });
  connect(search_, &QPushButton::clicked, this, [this] {
    model_.SetFragment(fragment_->text().toStdString());
    model_.Search();
    Refresh();
  });
  connect(names_, &QListWidget::currentRowChanged, this, [this](int row) {
    model_.ChooseName(row);
    const QSignalBlocker quiet(new_name_);
    new_name_->setText(FromUtf8(model_.new_name()));
  });
  connect(new_name_, &QLineEdit::textEdited, this,
          [this](const QString& text) { model_.SetNewName(text.toStdString()); });
  connect(ok_, &QPushButton::clicked, this, [this] {
    model_.SetNewName(new_name_->text().toStdString());
    model_.Ok();
    Refresh();
  });
  connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
  connect(close_, &QPushButton::clicked, this, &QDialog::accept);
  Refresh();
}

void BulkRenameDialogView::Refresh() {
  const QSignalBlocker a(main_name_), b(alternative_name_), c(localities_), d(municipalities_), e(names_),
      f(new_name_), g(fragment_);
  main_name_->setChecked(!model_.alternative());
  alternative_name_->setChecked(model_.alternative());
  fragment_->setText(FromUtf8(model_.fragment()));
  localities_->setCurrentIndex(model_.locality());
  municipalities_->setCurrentIndex(model_.municipality());
  names_->clear();
  for (const std::string& name : model_.names()) names_->addItem(FromUtf8(name));
  names_->setCurrentRow(model_.name());
  new_name_->setText(FromUtf8(model_.new_name()));
}

}  // namespace viamappa
