#include "gui/SuggestionsDialogView.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/DialogUnits.h"

namespace viamappa {

namespace {

QString FromUtf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

SuggestionsDialogView::SuggestionsDialogView(SuggestionsDialog& model, UserInterface& ui, QWidget* parent)
    : QDialog(parent), model_(model), ui_(ui) {
  setObjectName(QStringLiteral("SuggestionsDialog"));
  setWindowTitle(FromUtf8(model.title()));
  setModal(true);
  auto* layout = new QVBoxLayout(this);
  auto* prompt = new QLabel(FromUtf8(model.prompt()));
  prompt->setTextFormat(Qt::PlainText);
  layout->addWidget(prompt);
  list_ = new QListWidget;
  if (!model.list_label().empty()) {
    auto* label = new QLabel(FromUtf8(model.list_label()));
    label->setBuddy(list_);
    layout->addWidget(label);
  }
  for (const std::string& entry : model.entries()) list_->addItem(FromUtf8(entry));
  layout->addWidget(list_);

  ok_ = new QPushButton(QStringLiteral("OK"));
  ok_->setDefault(true);
  cancel_ = new QPushButton(QStringLiteral("Annulla"));
  connect(ok_, &QPushButton::clicked, this, &SuggestionsDialogView::Confirm);
  connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ok_);
  buttons->addWidget(cancel_);
  if (model.offers_new_type()) {
    new_type_ = new QPushButton(QStringLiteral("Inserisci Nuovo Tipo"));
    connect(new_type_, &QPushButton::clicked, this,
            [this] { done(static_cast<int>(SuggestionClose::NewType)); });
    buttons->addWidget(new_type_);
  }
  layout->addLayout(buttons);
  setMinimumSize(DialogUnitsToPixels(*this, 250, 130));
  list_->setFocus();
}

SuggestionClose SuggestionsDialogView::Run() {
  const int result = exec();
  if (result == static_cast<int>(SuggestionClose::Ok)) return SuggestionClose::Ok;
  if (result == static_cast<int>(SuggestionClose::NewType)) return SuggestionClose::NewType;
  return SuggestionClose::Cancel;
}

void SuggestionsDialogView::Confirm() {
  const QList<QListWidgetItem*> selected = list_->selectedItems();
  model_.Select(selected.isEmpty() ? -1 : list_->row(selected.front()));
  if (const std::optional<std::string> refusal = model_.Accept()) {
    ui_.ShowMessage(*refusal, MessageIcon::Stop);
    return;
  }
  done(static_cast<int>(SuggestionClose::Ok));
}

}  // namespace viamappa
