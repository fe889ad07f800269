#include "gui/RouteResultDialogView.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace viamappa {

namespace {

QString FromUtf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

RouteResultDialogView::RouteResultDialogView(QWidget* parent, const RouteResultDialog& model)
    : QDialog(parent), length_(new QLabel(FromUtf8(model.length_text()))), list_(new QListWidget) {
  setWindowTitle(FromUtf8(RouteResultDialog::kTitle));
  setModal(true);
  length_->setTextFormat(Qt::PlainText);
  for (const std::string& line : model.lines()) list_->addItem(FromUtf8(line));
  list_->setSelectionMode(QAbstractItemView::SingleSelection);

  auto* buttons = new QDialogButtonBox;
  QPushButton* ok = buttons->addButton(FromUtf8(RouteResultDialog::kOk), QDialogButtonBox::AcceptRole);
  QPushButton* cancel =
      buttons->addButton(FromUtf8(RouteResultDialog::kCancel), QDialogButtonBox::RejectRole);
  QPushButton* save = buttons->addButton(FromUtf8(RouteResultDialog::kSave), QDialogButtonBox::ActionRole);
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, [this] { CloseWith(RouteDialogChoice::Ok); });
  connect(cancel, &QPushButton::clicked, this, [this] { CloseWith(RouteDialogChoice::Cancel); });
  connect(save, &QPushButton::clicked, this, [this] { CloseWith(RouteDialogChoice::Save); });

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(length_);
  layout->addWidget(list_);
  layout->addWidget(buttons);
  // About 350 x 120 dialog units on an ordinary screen font.
  resize(540, 260);
}

void RouteResultDialogView::CloseWith(RouteDialogChoice choice) {
  choice_ = choice;
  if (choice == RouteDialogChoice::Cancel) {
    reject();
  } else {
    accept();
  }
}

}  // namespace viamappa
