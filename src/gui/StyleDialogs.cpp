#include "gui/StyleDialogs.h"

#include <QColorDialog>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>
#include <QWheelEvent>

#include "gui/FormDialogView.h"
#include "gui/QtCanvas.h"
#include "map/StyleForms.h"
#include "map/StyleSamples.h"
#include "map/ThresholdForm.h"

namespace viamappa {

namespace {

constexpr int kVisibleGridRows = 10;

Colour FromQColor(const QColor& colour) {
  return static_cast<Colour>(colour.red()) | (static_cast<Colour>(colour.green()) << 8) |
         (static_cast<Colour>(colour.blue()) << 16);
}

// The colour picker: the platform's colour chooser, starting at the current colour.
std::optional<Colour> PickColour(QWidget* parent, Colour current, const char* title) {
  const QColor chosen = QColorDialog::getColor(ToQColor(current), parent, QString::fromUtf8(title));
  if (!chosen.isValid()) return std::nullopt;
  return FromQColor(chosen);
}

// A picker of a list of choices: a menu under the button pressed, the current choice checked.
std::optional<int> PickChoice(QWidget* button, const std::vector<StyleChoice>& choices, int current) {
  QMenu menu(button);
  for (const StyleChoice& choice : choices) {
    QAction* action = menu.addAction(QString::fromStdString(choice.text));
    action->setData(choice.value);
    action->setCheckable(true);
    action->setChecked(choice.value == current);
  }
  const QAction* chosen =
      menu.exec(button ? button->mapToGlobal(QPoint(0, button->height())) : QCursor::pos());
  if (!chosen) return std::nullopt;
  return chosen->data().toInt();
}

SampleBox BoxOf(const Canvas& canvas) {
  return {0, 0, static_cast<double>(canvas.width()), static_cast<double>(canvas.height())};
}

bool RunLineDialog(QWidget* parent, UserInterface& ui, StyleRecord& record) {
  LineStyleForm form(record);
  FormDialogView view(form.form(), ui, parent);
  view.SetSampleDrawer([&form](Canvas& canvas, const FormField& field) {
    DrawLineSample(canvas, BoxOf(canvas), form.sample(), field.label);
  });
  view.SetButtonHandler([&](int id) {
    QWidget* button = view.FieldWidget(id);
    switch (id) {
      case LineStyleForm::kColourButton:
        if (const auto colour = PickColour(&view, form.sample().line_colour, "Colore"))
          form.SetColour(*colour);
        break;
      case LineStyleForm::kWidthButton:
        if (const auto width = PickChoice(button, LineWidthChoices(), form.sample().line_width))
          form.SetWidth(*width);
        break;
      case LineStyleForm::kStyleButton:
        if (const auto style = PickChoice(button, LineStyleChoices(), form.sample().line_style))
          form.SetLineStyle(static_cast<char>(*style));
        break;
      case kFormOk:
        return view.accept();
      case kFormCancel:
        return view.reject();
    }
    view.Refresh();
  });
  if (view.exec() != QDialog::Accepted) return false;
  form.Apply(record);
  return true;
}

bool RunAreaDialog(QWidget* parent, UserInterface& ui, StyleRecord& record) {
  AreaStyleForm form(record);
  FormDialogView view(form.form(), ui, parent);
  view.SetSampleDrawer([&form](Canvas& canvas, const FormField& field) {
    DrawAreaSample(canvas, BoxOf(canvas), form.sample(), field.label);
  });
  view.SetButtonHandler([&](int id) {
    QWidget* button = view.FieldWidget(id);
    const LayerStyle& sample = form.sample();
    switch (id) {
      case AreaStyleForm::kBorderButton:
        if (const auto colour = PickColour(&view, sample.line_colour, "Bordo")) form.SetBorder(*colour);
        break;
      case AreaStyleForm::kForegroundButton:
        if (const auto colour = PickColour(&view, sample.fore_colour, "Foreground"))
          form.SetForeground(*colour);
        break;
      case AreaStyleForm::kBackgroundButton:
        if (const auto colour = PickColour(&view, sample.back_colour, "Background"))
          form.SetBackground(*colour);
        break;
      case AreaStyleForm::kWidthButton:
        if (const auto width = PickChoice(button, LineWidthChoices(), sample.line_width))
          form.SetWidth(*width);
        break;
      case AreaStyleForm::kStyleButton:
        if (const auto style = PickChoice(button, LineStyleChoices(), sample.line_style))
          form.SetLineStyle(static_cast<char>(*style));
        break;
      case AreaStyleForm::kHatchButton:
        if (const auto hatch = PickChoice(button, HatchChoices(), sample.fill)) form.SetHatch(*hatch);
        break;
      case kFormOk:
        return view.accept();
      case kFormCancel:
        return view.reject();
    }
    view.Refresh();
  });
  if (view.exec() != QDialog::Accepted) return false;
  form.Apply(record);
  return true;
}

}  // namespace

bool RunStyleDialog(QWidget* parent, UserInterface& ui, StyleRecord& record) {
  switch (record.kind) {
    case FeatureKind::Line:
      return RunLineDialog(parent, ui, record);
    case FeatureKind::Area:
      return RunAreaDialog(parent, ui, record);
    case FeatureKind::Point: {
      SymbolChooserDialog chooser(record.style.symbol, parent);
      chooser.exec();
      if (!chooser.taken()) return false;
      record.style.symbol = *chooser.taken();
      return true;
    }
  }
  return false;
}

bool RunThresholdDialog(QWidget* parent, UserInterface& ui, StyleRecord& record) {
  ThresholdForm form(record);
  FormDialogView view(form.form(), ui, parent);
  view.SetFieldLeftHandler([&form](int id) {
    if (id == ThresholdForm::kMinimumField || id == ThresholdForm::kMaximumField) form.FieldLeft();
  });
  bool changed = false;
  view.SetButtonHandler([&](int id) {
    if (id == kFormOk) {
      view.LeaveAllFields();
      // Refused thresholds were told and change nothing: the dialog ends either way.
      changed = form.Accept(record, ui);
      view.accept();
    } else if (id == kFormCancel) {
      view.reject();
    }
  });
  view.exec();
  return changed;
}

// The grid of the symbol chooser, drawn by the core and scrolled by rows.
class SymbolGridWidget : public QWidget {
 public:
  explicit SymbolGridWidget(SymbolChooserDialog& dialog) : QWidget(&dialog), dialog_(dialog) {
    setObjectName(QStringLiteral("SymbolGrid"));
    setFocusPolicy(Qt::StrongFocus);
    setFixedSize(SymbolGridWidth(dialog.chooser_), kVisibleGridRows * kSymbolCellSize);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QImage image(size(), QImage::Format_ARGB32_Premultiplied);
    {
      QtCanvas canvas(image, false);
      DrawSymbolGrid(canvas, dialog_.chooser_);
    }
    QPainter(this).drawImage(0, 0, image);
  }
  void mousePressEvent(QMouseEvent* event) override {
    if (event->button() != Qt::LeftButton) return;
    dialog_.chooser_.Click(event->position().toPoint().x(), event->position().toPoint().y());
    update();
  }
  void mouseDoubleClickEvent(QMouseEvent* event) override {
    if (event->button() != Qt::LeftButton) return;
    const auto taken =
        dialog_.chooser_.DoubleClick(event->position().toPoint().x(), event->position().toPoint().y());
    if (taken) dialog_.Take(taken);
  }
  void wheelEvent(QWheelEvent* event) override {
    const int rows = event->angleDelta().y() / 120 * 3;
    dialog_.scroll_->setValue(dialog_.scroll_->value() - rows);
  }
  void keyPressEvent(QKeyEvent* event) override {
    SymbolChooser& chooser = dialog_.chooser_;
    switch (event->key()) {
      case Qt::Key_Left:
        chooser.Move(-1, 0, kVisibleGridRows);
        break;
      case Qt::Key_Right:
        chooser.Move(1, 0, kVisibleGridRows);
        break;
      case Qt::Key_Up:
        chooser.Move(0, -1, kVisibleGridRows);
        break;
      case Qt::Key_Down:
        chooser.Move(0, 1, kVisibleGridRows);
        break;
      case Qt::Key_PageUp:
        chooser.Move(0, -kVisibleGridRows, kVisibleGridRows);
        break;
      case Qt::Key_PageDown:
        chooser.Move(0, kVisibleGridRows, kVisibleGridRows);
        break;
      case Qt::Key_Return:
      case Qt::Key_Enter:
        return dialog_.Take(chooser.Take());
      default:
        return QWidget::keyPressEvent(event);
    }
    dialog_.scroll_->setValue(chooser.first_row());
    update();
  }

 private:
  SymbolChooserDialog& dialog_;
};

SymbolChooserDialog::SymbolChooserDialog(int current, QWidget* parent)
    : QDialog(parent), chooser_(SymbolLibrary::Builtin(), current) {
  setWindowTitle(QStringLiteral("Selezione Simbolo Grafico"));
  setModal(true);
  grid_ = new SymbolGridWidget(*this);
  scroll_ = new QScrollBar(Qt::Vertical, this);
  scroll_->setRange(0, std::max(0, chooser_.rows() - kVisibleGridRows));
  scroll_->setPageStep(kVisibleGridRows);
  chooser_.ScrollTo(chooser_.first_row(), kVisibleGridRows);
  scroll_->setValue(chooser_.first_row());
  connect(scroll_, &QScrollBar::valueChanged, this, [this](int row) {
    chooser_.ScrollTo(row, kVisibleGridRows);
    grid_->update();
  });
  auto* select = new QPushButton(QStringLiteral("Seleziona"), this);
  auto* close = new QPushButton(QStringLiteral("Chiudi"), this);
  select->setAutoDefault(false);
  close->setAutoDefault(false);
  connect(select, &QPushButton::clicked, this, [this] { Take(chooser_.Take()); });
  connect(close, &QPushButton::clicked, this, &QDialog::reject);

  auto* grid_row = new QHBoxLayout;
  grid_row->setSpacing(0);
  grid_row->addWidget(grid_);
  grid_row->addWidget(scroll_);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(select);
  buttons->addWidget(close);
  buttons->addStretch();
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid_row);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  grid_->setFocus();
}

void SymbolChooserDialog::Take(std::optional<int> symbol) {
  if (!symbol) return;
  taken_ = symbol;
  accept();
}

}  // namespace viamappa
