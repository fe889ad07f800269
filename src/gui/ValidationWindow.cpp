#include "gui/ValidationWindow.h"

#include <QAbstractListModel>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QVBoxLayout>

namespace viamappa {

namespace {

QString FromUtf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The findings' texts, made when the list shows them: a region may have very many findings.
class FindingList : public QAbstractListModel {
 public:
  FindingList(QObject* parent, const ValidationBrowser& browser)
      : QAbstractListModel(parent), browser_(browser) {}

  int rowCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : browser_.size(); }
  QVariant data(const QModelIndex& index, int role) const override {
    if (role != Qt::DisplayRole || !index.isValid()) return {};
    return FromUtf8(browser_.ItemText(index.row()));
  }

 private:
  const ValidationBrowser& browser_;
};

}  // namespace

ValidationWindow::ValidationWindow(QWidget* parent, ValidationBrowser browser,
                                   std::function<void(const Box&)> show)
    : QDialog(parent),
      browser_(std::move(browser)),
      show_(std::move(show)),
      counts_(new QLabel(FromUtf8(browser_.CountsText()))),
      findings_(new QListView),
      previous_(new QPushButton(FromUtf8(ValidationBrowser::kPrevious))),
      next_(new QPushButton(FromUtf8(ValidationBrowser::kNext))) {
  setWindowTitle(FromUtf8(ValidationBrowser::kTitle));
  // The map stays usable while the findings are gone through.
  setModal(false);
  counts_->setTextFormat(Qt::PlainText);
  findings_->setUniformItemSizes(true);
  findings_->setSelectionMode(QAbstractItemView::SingleSelection);
  findings_->setModel(new FindingList(this, browser_));
  auto* close = new QPushButton(FromUtf8(ValidationBrowser::kClose));
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(previous_);
  buttons->addWidget(next_);
  buttons->addStretch();
  buttons->addWidget(close);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(counts_);
  layout->addWidget(findings_, 1);
  layout->addLayout(buttons);
  resize(560, 480);

  connect(findings_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
          [this](const QModelIndex& current) {
            if (!following_) Show(browser_.Choose(current.row()));
          });
  connect(previous_, &QPushButton::clicked, this, [this] { Show(browser_.Previous()); });
  connect(next_, &QPushButton::clicked, this, [this] { Show(browser_.Next()); });
  connect(close, &QPushButton::clicked, this, &QDialog::close);
  previous_->setEnabled(false);
  next_->setEnabled(browser_.HasNext());
}

void ValidationWindow::Show(std::optional<Box> view) {
  // The list follows the browser without choosing again.
  following_ = true;
  const QModelIndex current = findings_->model()->index(browser_.current(), 0);
  findings_->setCurrentIndex(current);
  findings_->scrollTo(current);
  following_ = false;
  previous_->setEnabled(browser_.HasPrevious());
  next_->setEnabled(browser_.HasNext());
  if (view && show_) show_(*view);
}

}  // namespace viamappa
