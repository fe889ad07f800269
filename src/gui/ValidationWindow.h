// The findings of the graph check beside the map: the counts of each kind, the list of findings and
// "Precedente" / "Successivo" to go through them; each finding chosen is shown on the map. The window
// does not hold the map: it hands the part to show to its owner.
#pragma once

#include <QDialog>
#include <functional>

#include "edit/ValidationBrowser.h"

class QLabel;
class QListView;
class QPushButton;

namespace viamappa {

class ValidationWindow : public QDialog {
 public:
  // show is called with the part of the map to show for each finding chosen.
  ValidationWindow(QWidget* parent, ValidationBrowser browser, std::function<void(const Box&)> show);

  const ValidationBrowser& browser() const { return browser_; }
  QLabel* counts() const { return counts_; }
  QListView* findings() const { return findings_; }
  QPushButton* previous() const { return previous_; }
  QPushButton* next() const { return next_; }

 private:
  void Show(std::optional<Box> view);

  ValidationBrowser browser_;
  std::function<void(const Box&)> show_;
  QLabel* counts_;
  QListView* findings_;
  QPushButton* previous_;
  QPushButton* next_;
  bool following_ = false;
};

}  // namespace viamappa
