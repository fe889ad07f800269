// "Vestizione Tematismi" on the screen: a window in the main window's client area, in the map's place
// while it is open. Its list panel shows the style records the core keeps (StylingWindowModel); clicks,
// keys and buttons go to the model, and to the style and threshold dialogs it asks for. "Chiudi" hands
// back to the main window, which applies the records and shows the map again.
#pragma once

#include <QWidget>
#include <functional>
#include <map>
#include <memory>

#include "map/StylingWindow.h"
#include "ui/UserInterface.h"

class QMenu;
class QPushButton;
class QScrollBar;

namespace viamappa {

class StylingWindow : public QWidget {
  Q_OBJECT
 public:
  StylingWindow(StylingWindowModel model, UserInterface& ui, QWidget* parent = nullptr);

  StylingWindowModel& model() { return model_; }
  // What "Chiudi" does: the main window applies the records and closes this window.
  void SetCloseHandler(std::function<void()> handler) { on_close_ = std::move(handler); }

  // Runs a command of the buttons and the pop-up menu (6008 to 6011).
  void RunCommand(int command);

  QWidget* list() const { return list_; }
  QPushButton* Button(int command) const;
  // The pop-up menu a right click shows.
  std::unique_ptr<QMenu> BuildPopupMenu();
  // Shows the model's records again.
  void Refresh();

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  friend class StyleListPanel;
  void Popup(const QPoint& global);

  StylingWindowModel model_;
  UserInterface& ui_;
  QWidget* list_ = nullptr;
  QScrollBar* scroll_ = nullptr;
  std::map<int, QPushButton*> buttons_;
  std::function<void()> on_close_;
};

}  // namespace viamappa
