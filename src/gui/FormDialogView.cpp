#include "gui/FormDialogView.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QValidator>

#include "gui/QtCanvas.h"

namespace viamappa {

namespace {

QString FromUtf8(const std::string& text) {
  return QString::fromStdString(text);
}

// A number field takes only what its shaping keeps.
class NumberValidator : public QValidator {
 public:
  NumberValidator(const NumberLayout& layout, QObject* parent) : QValidator(parent), layout_(layout) {}
  State validate(QString& input, int&) const override {
    return NumberFieldAccepts(input.toStdString(), layout_) ? Acceptable : Invalid;
  }

 private:
  NumberLayout layout_;
};

// A drawn sample: the form paints it through a canvas.
class SampleWidget : public QWidget {
 public:
  SampleWidget(const FormField& field, const std::function<void(Canvas&, const FormField&)>& draw,
               QWidget* parent)
      : QWidget(parent), field_(field), draw_(draw) {}

 protected:
  void paintEvent(QPaintEvent*) override {
    QImage image(size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    {
      QtCanvas canvas(image);
      if (draw_) draw_(canvas, field_);
    }
    QPainter painter(this);
    painter.drawImage(0, 0, image);
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
  }

 private:
  const FormField& field_;
  const std::function<void(Canvas&, const FormField&)>& draw_;
};

bool IsChecked(FieldKind kind) {
  return kind == FieldKind::Date || kind == FieldKind::Time || kind == FieldKind::Number ||
         kind == FieldKind::Text || kind == FieldKind::MultiLineText;
}

}  // namespace

FormDialogView::FormDialogView(FormDialog& form, UserInterface& ui, QWidget* parent)
    : QDialog(parent), form_(form), ui_(ui) {
  setWindowTitle(FromUtf8(form_.title()));
  setModal(true);
  Build();
}

void FormDialogView::Build() {
  form_.Layout(QFontMetrics(font()).height());
  setFixedSize(form_.width(), form_.height());
  for (FormField& field : form_.fields()) {
    QWidget* widget = nullptr;
    const QString text = FromUtf8(field.text);
    switch (field.kind) {
      case FieldKind::Label:
        widget = new QLabel(text, this);
        break;
      case FieldKind::FramedStatic: {
        auto* label = new QLabel(text, this);
        label->setFrameStyle(QFrame::Box | QFrame::Plain);
        label->setAlignment(Qt::AlignCenter);
        widget = label;
        break;
      }
      case FieldKind::Button: {
        auto* button = new QPushButton(text, this);
        button->setAutoDefault(false);
        button->setDefault(field.id == 1);
        const int id = field.id;
        connect(button, &QPushButton::clicked, this, [this, id] { ButtonPressed(id); });
        widget = button;
        break;
      }
      case FieldKind::Text:
      case FieldKind::Number:
      case FieldKind::Date:
      case FieldKind::Time: {
        auto* edit = new QLineEdit(text, this);
        edit->setMaxLength(field.length);
        edit->setReadOnly(field.read_only);
        if (field.kind != FieldKind::Text) edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        if (field.kind == FieldKind::Number) edit->setValidator(new NumberValidator(field.number, edit));
        FormField* target = &field;
        connect(edit, &QLineEdit::textEdited, this,
                [target](const QString& typed) { target->text = typed.toStdString(); });
        widget = edit;
        break;
      }
      case FieldKind::MultiLineText: {
        auto* edit = new QPlainTextEdit(text, this);
        edit->setReadOnly(field.read_only);
        FormField* target = &field;
        connect(edit, &QPlainTextEdit::textChanged, this,
                [target, edit] { target->text = edit->toPlainText().toStdString(); });
        widget = edit;
        break;
      }
      case FieldKind::CheckBox: {
        auto* box = new QCheckBox(text, this);
        box->setChecked(field.checked);
        FormField* target = &field;
        connect(box, &QCheckBox::toggled, this, [target](bool on) { target->checked = on; });
        widget = box;
        break;
      }
      case FieldKind::DropDownList:
        widget = new QComboBox(this);
        break;
      default:
        widget = new SampleWidget(field, draw_sample_, this);
        break;
    }
    widget->setGeometry(field.x, field.y, field.width, field.height);
    widgets_[field.id] = widget;
    if (IsChecked(field.kind)) {
      inputs_[widget] = &field;
      widget->installEventFilter(this);
    }
  }
}

QWidget* FormDialogView::FieldWidget(int id) const {
  const auto it = widgets_.find(id);
  return it == widgets_.end() ? nullptr : it->second;
}

bool FormDialogView::Leave(FormField& field) {
  checking_ = true;
  const bool passed = form_.LeaveField(field, ui_);
  checking_ = false;
  if (auto* edit = qobject_cast<QLineEdit*>(FieldWidget(field.id));
      edit && edit->text().toStdString() != field.text)
    edit->setText(FromUtf8(field.text));
  if (on_field_left_) on_field_left_(field.id);
  Refresh();
  return passed;
}

bool FormDialogView::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::FocusOut && !checking_) {
    const auto reason = static_cast<QFocusEvent*>(event)->reason();
    // Focus that goes to another window (a message box, a menu) comes back: the field is not left.
    const auto it = inputs_.find(watched);
    if (it != inputs_.end() && reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
      if (!Leave(*it->second)) {
        auto* widget = static_cast<QWidget*>(watched);
        QTimer::singleShot(0, widget, [widget] { widget->setFocus(Qt::OtherFocusReason); });
      }
    }
  }
  return QDialog::eventFilter(watched, event);
}

bool FormDialogView::LeaveAllFields() {
  for (FormField& field : form_.fields()) {
    if (!IsChecked(field.kind)) continue;
    if (!Leave(field)) {
      if (QWidget* widget = FieldWidget(field.id)) widget->setFocus(Qt::OtherFocusReason);
      return false;
    }
  }
  return true;
}

void FormDialogView::Refresh() {
  for (const FormField& field : form_.fields()) {
    QWidget* widget = FieldWidget(field.id);
    if (auto* edit = qobject_cast<QLineEdit*>(widget); edit && edit->text().toStdString() != field.text)
      edit->setText(FromUtf8(field.text));
    if (dynamic_cast<SampleWidget*>(widget)) widget->update();
  }
}

void FormDialogView::ButtonPressed(int id) {
  if (on_button_) return on_button_(id);
  if (id == 1 && LeaveAllFields()) accept();
  if (id == 2) reject();
}

}  // namespace viamappa
