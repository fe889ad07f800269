#include "gui/ToponymSearchDialogView.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QRadioButton>
#include <QStringListModel>

namespace viamappa {

namespace {

QString Text(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QStringList Lines(const std::vector<std::string>& lines) {
  QStringList list;
  list.reserve(static_cast<qsizetype>(lines.size()));
  for (const std::string& line : lines) list.push_back(Text(line));
  return list;
}

}  // namespace

ToponymSearchDialogView::ToponymSearchDialogView(ToponymSearchDialog& model, UserInterface& messages,
                                                 QWidget* parent)
    : QDialog(parent), model_(model), messages_(messages) {
  setObjectName(QStringLiteral("ToponymSearchDialog"));
  setWindowTitle(Text(ToponymSearchDialog::kTitle));
  auto* layout = new QGridLayout(this);

  fragment_ = new QLineEdit(Text(model.fragment()), this);
  fragment_->setMaxLength(static_cast<int>(ToponymSearchDialog::kFragmentLimit));
  auto* fragment_label = new QLabel(Text(ToponymSearchDialog::kFragmentLabel), this);
  fragment_label->setBuddy(fragment_);
  layout->addWidget(fragment_label, 0, 0);
  layout->addWidget(fragment_, 0, 1, 1, 2);

  const SearchRequest& contexts = model.contexts();
  const auto box = [this](const char* text, bool checked) {
    auto* check = new QCheckBox(Text(text), this);
    check->setChecked(checked);
    return check;
  };
  municipalities_ = box(ToponymSearchDialog::kMunicipalitiesBox, contexts.municipalities);
  localities_ = box(ToponymSearchDialog::kLocalitiesBox, contexts.localities);
  toponyms_ = box(ToponymSearchDialog::kToponymsBox, contexts.toponyms);
  streets_ = box(ToponymSearchDialog::kStreetsBox, contexts.streets);
  single_arcs_ = new QRadioButton(Text(ToponymSearchDialog::kSingleArcsRadio), this);
  whole_streets_ = new QRadioButton(Text(ToponymSearchDialog::kWholeStreetsRadio), this);
  (model.whole_streets() ? whole_streets_ : single_arcs_)->setChecked(true);
  layout->addWidget(municipalities_, 1, 1);
  layout->addWidget(localities_, 2, 1);
  layout->addWidget(toponyms_, 3, 1);
  layout->addWidget(streets_, 4, 1);
  layout->addWidget(single_arcs_, 1, 2);
  layout->addWidget(whole_streets_, 2, 2);

  filter_ = new QComboBox(this);
  filter_->addItems(Lines(model.filter_entries()));
  filter_->setCurrentIndex(model.filter_index());
  auto* filter_label = new QLabel(Text(ToponymSearchDialog::kFilterLabel), this);
  filter_label->setBuddy(filter_);
  layout->addWidget(filter_label, 5, 0);
  layout->addWidget(filter_, 5, 1, 1, 2);

  search_ = new QPushButton(Text(ToponymSearchDialog::kSearchButton), this);
  search_->setAutoDefault(false);
  layout->addWidget(search_, 6, 2, Qt::AlignRight);

  // Many thousand hits fill the list at once through a model of their lines.
  hits_ = new QComboBox(this);
  hit_lines_ = new QStringListModel(this);
  hits_->setModel(hit_lines_);
  if (auto* view = qobject_cast<QListView*>(hits_->view())) view->setUniformItemSizes(true);
  hits_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  hits_->setMinimumContentsLength(60);
  auto* hits_label = new QLabel(Text(ToponymSearchDialog::kHitsLabel), this);
  hits_label->setBuddy(hits_);
  layout->addWidget(hits_label, 7, 0, 1, 3);
  layout->addWidget(hits_, 8, 0, 1, 3);

  ok_ = new QPushButton(Text(ToponymSearchDialog::kOkButton), this);
  ok_->setDefault(true);
  layout->addWidget(ok_, 9, 2, Qt::AlignRight);
  layout->setColumnStretch(1, 1);
  layout->setColumnStretch(2, 1);

  connect(search_, &QPushButton::clicked, this, &ToponymSearchDialogView::Search);
  connect(ok_, &QPushButton::clicked, this, &ToponymSearchDialogView::accept);
}

void ToponymSearchDialogView::TakeControls() {
  model_.SetFragment(fragment_->text().toStdString());
  SearchRequest& contexts = model_.contexts();
  contexts.municipalities = municipalities_->isChecked();
  contexts.localities = localities_->isChecked();
  contexts.toponyms = toponyms_->isChecked();
  contexts.streets = streets_->isChecked();
  model_.SetWholeStreets(whole_streets_->isChecked());
  model_.ChooseFilter(filter_->currentIndex());
  model_.ChooseHit(hits_->currentIndex());
}

void ToponymSearchDialogView::Search() {
  TakeControls();
  // A common fragment over a whole region takes a few seconds.
  messages_.BeginBusy(false);
  const std::optional<std::string> refusal = model_.Search();
  messages_.EndBusy();
  if (refusal) {
    messages_.ShowMessage(*refusal, MessageIcon::Stop);
    return;
  }
  hit_lines_->setStringList(Lines(model_.hits()));
  hits_->setCurrentIndex(model_.hit_index());
}

void ToponymSearchDialogView::accept() {
  TakeControls();
  if (const std::optional<std::string> refusal = model_.Accept()) {
    messages_.ShowMessage(*refusal, MessageIcon::Stop);
    return;
  }
  QDialog::accept();
}

}  // namespace viamappa
