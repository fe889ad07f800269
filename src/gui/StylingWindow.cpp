#include "gui/StylingWindow.h"

#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QWheelEvent>

#include "gui/QtCanvas.h"
#include "gui/StyleDialogs.h"

namespace viamappa {

namespace {

// Room between the list panel and the buttons.
constexpr int kListGap = 5;

}  // namespace

// The list panel: drawn by the core, every click and key handed to the model.
class StyleListPanel : public QWidget {
 public:
  explicit StyleListPanel(StylingWindow& window) : QWidget(&window), window_(window) {
    setObjectName(QStringLiteral("StyleList"));
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QImage image(size(), QImage::Format_ARGB32_Premultiplied);
    {
      QtCanvas canvas(image);
      DrawStyleList(canvas, window_.model_);
    }
    QPainter(this).drawImage(0, 0, image);
  }
  void mousePressEvent(QMouseEvent* event) override {
    const QPoint at = event->position().toPoint();
    if (event->button() == Qt::LeftButton) {
      window_.model_.Click(at.x(), at.y());
      window_.Refresh();
    } else if (event->button() == Qt::RightButton) {
      window_.model_.Click(at.x(), at.y());
      window_.Refresh();
      window_.Popup(event->globalPosition().toPoint());
    }
  }
  void mouseDoubleClickEvent(QMouseEvent* event) override {
    if (event->button() != Qt::LeftButton) return;
    const QPoint at = event->position().toPoint();
    switch (window_.model_.DoubleClick(at.x(), at.y())) {
      case StyleAction::Graphics:
        return window_.RunCommand(kStyleGraphicsCommand);
      case StyleAction::Thresholds:
        return window_.RunCommand(kStyleThresholdsCommand);
      case StyleAction::None:
        return window_.Refresh();
    }
  }
  void wheelEvent(QWheelEvent* event) override {
    window_.scroll_->setValue(window_.scroll_->value() - event->angleDelta().y() / 120);
  }
  void keyPressEvent(QKeyEvent* event) override {
    static const std::map<int, StyleListKey> keys = {
        {Qt::Key_Up, StyleListKey::Up},         {Qt::Key_Down, StyleListKey::Down},
        {Qt::Key_PageUp, StyleListKey::PageUp}, {Qt::Key_PageDown, StyleListKey::PageDown},
        {Qt::Key_Home, StyleListKey::Home},     {Qt::Key_End, StyleListKey::End}};
    const auto it = keys.find(event->key());
    if (it == keys.end()) return QWidget::keyPressEvent(event);
    window_.model_.Key(it->second);
    window_.Refresh();
  }

 private:
  StylingWindow& window_;
};

StylingWindow::StylingWindow(StylingWindowModel model, UserInterface& ui, QWidget* parent)
    : QWidget(parent), model_(std::move(model)), ui_(ui) {
  setObjectName(QStringLiteral("StylingWindow"));
  setAutoFillBackground(true);
  list_ = new StyleListPanel(*this);
  scroll_ = new QScrollBar(Qt::Vertical, this);
  connect(scroll_, &QScrollBar::valueChanged, this, [this](int row) {
    model_.ScrollTo(row);
    list_->update();
  });
  for (const StyleButton& spec : StyleButtons()) {
    auto* button = new QPushButton(QString::fromUtf8(spec.text), this);
    button->setFocusPolicy(Qt::TabFocus);
    const int command = spec.command;
    connect(button, &QPushButton::clicked, this, [this, command] { RunCommand(command); });
    buttons_[spec.command] = button;
  }
  setFocusProxy(list_);
}

QPushButton* StylingWindow::Button(int command) const {
  const auto it = buttons_.find(command);
  return it == buttons_.end() ? nullptr : it->second;
}

void StylingWindow::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  const int buttons_top = height() - kStyleButtonRise;
  const int list_height = std::max(0, buttons_top - kListGap);
  const int bar = scroll_->sizeHint().width();
  list_->setGeometry(0, 0, std::max(0, width() - bar), list_height);
  scroll_->setGeometry(width() - bar, 0, bar, list_height);
  for (const StyleButton& spec : StyleButtons())
    buttons_[spec.command]->setGeometry(spec.left, buttons_top, spec.right - spec.left, kStyleButtonHeight);
  model_.SetListHeight(list_height);
  Refresh();
}

void StylingWindow::Refresh() {
  scroll_->setRange(0, model_.max_first_row());
  scroll_->setPageStep(model_.visible_rows());
  scroll_->setValue(model_.first_row());
  list_->update();
}

void StylingWindow::RunCommand(int command) {
  StyleRecord* record = model_.SelectedRecord();
  switch (command) {
    case kStyleSelectCommand:
      model_.SwitchVisible();
      break;
    case kStyleGraphicsCommand:
      if (record) RunStyleDialog(this, ui_, *record);
      break;
    case kStyleThresholdsCommand:
      if (record) RunThresholdDialog(this, ui_, *record);
      break;
    case kStyleCloseCommand:
      if (on_close_) on_close_();
      return;
    default:
      return;
  }
  Refresh();
}

std::unique_ptr<QMenu> StylingWindow::BuildPopupMenu() {
  auto menu = std::make_unique<QMenu>(this);
  for (const StylePopupEntry& entry : StylePopupEntries())
    menu->addAction(QString::fromUtf8(entry.text))->setData(entry.command);
  return menu;
}

void StylingWindow::Popup(const QPoint& global) {
  const std::unique_ptr<QMenu> menu = BuildPopupMenu();
  const QAction* chosen = menu->exec(global);
  if (chosen) RunCommand(chosen->data().toInt());
}

}  // namespace viamappa
