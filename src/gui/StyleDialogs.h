// The dialogs of the styling window: "Rappresentazione Tematismo" for lines and areas with their
// pickers, "Selezione Simbolo Grafico" for points, and "Soglie Visualizzazione Tematismo". Each works
// on a style record and changes it only when closed with "Ok" (or a symbol taken).
#pragma once

#include <QDialog>
#include <optional>

#include "map/StyleRecord.h"
#include "map/SymbolChooser.h"
#include "ui/UserInterface.h"

class QScrollBar;

namespace viamappa {

// "Grafica" on a record: the form of its kind. True when the record changed.
bool RunStyleDialog(QWidget* parent, UserInterface& ui, StyleRecord& record);

// "Max Min" on a record. True when its thresholds changed.
bool RunThresholdDialog(QWidget* parent, UserInterface& ui, StyleRecord& record);

// "Selezione Simbolo Grafico": the library's symbols in a grid that scrolls; a click selects a
// symbol, a double click or "Seleziona" takes it, "Chiudi" leaves without one.
class SymbolChooserDialog : public QDialog {
  Q_OBJECT
 public:
  SymbolChooserDialog(int current, QWidget* parent = nullptr);

  // The symbol taken, or none.
  std::optional<int> taken() const { return taken_; }
  SymbolChooser& chooser() { return chooser_; }
  QWidget* grid() const { return grid_; }

 private:
  void Take(std::optional<int> symbol);

  SymbolChooser chooser_;
  QWidget* grid_ = nullptr;
  QScrollBar* scroll_ = nullptr;
  std::optional<int> taken_;

  friend class SymbolGridWidget;
};

}  // namespace viamappa
