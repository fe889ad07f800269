#include "forms/FormDialog.h"

#include <algorithm>
#include <map>
#include <vector>

#include "base/Utf8.h"
#include "forms/DateTimeValidation.h"

namespace viamappa {

namespace {

constexpr int kMargin = 12;    // pixels around the fields
constexpr int kRowGap = 8;     // pixels between rows
constexpr int kButtonGap = 5;  // pixels between the buttons of a row
constexpr int kMaxTextLength = 60;

// The fixed sizes of the larger drawn samples; the others take their size from their length.
bool FixedSize(FieldKind kind, int& width, int& height) {
  switch (kind) {
    case FieldKind::LineSample:
    case FieldKind::AreaSample:
    case FieldKind::PatternSample:
      width = 64;
      height = 32;
      return true;
    case FieldKind::SymbolSample:
      width = 64;
      height = 64;
      return true;
    case FieldKind::FontSample:
      width = 96;
      height = 32;
      return true;
    default:
      return false;
  }
}

std::string UpperCase(std::string_view text) {
  std::string upper;
  for (std::size_t pos = 0; pos < text.size();)
    utf8::Append(upper, utf8::UpperCase(utf8::DecodeNext(text, pos)));
  return upper;
}

}  // namespace

FormDialog::FormDialog(std::string title, std::string font_face, int font_size)
    : title_(std::move(title)), font_face_(std::move(font_face)), font_size_(font_size) {}

FormField* FormDialog::Add(FieldKind kind, std::string_view label, int length, std::uint16_t id,
                           int placement) {
  if (label.empty()) return nullptr;
  FormField& field = fields_.emplace_back();
  field.kind = kind;
  field.id = id;
  field.label = label;
  if (kind == FieldKind::Label || kind == FieldKind::Button) field.text = label;
  field.length = std::max(0, length);
  field.placement = placement;
  if (placement == kNewLine || placement == 4) {
    field.column = 5;
    field.row = next_row_;
  } else {
    field.column = next_column_;
    field.row = current_row_;
  }
  current_row_ = field.row;
  next_column_ = field.column + 1;
  next_row_ = field.row + 1;
  if (field.IsInput()) ++input_count_;
  return &field;
}

FormField* FormDialog::AddLabel(std::string_view text, int length, std::uint16_t id, int placement) {
  return Add(FieldKind::Label, text, length, id, placement);
}

FormField* FormDialog::AddButton(std::string_view text, int length, std::uint16_t id, int placement) {
  return Add(FieldKind::Button, text, length, id, placement);
}

FormField* FormDialog::AddText(std::string_view name, int length, std::uint16_t id, int placement,
                               bool multi_line) {
  return Add(multi_line ? FieldKind::MultiLineText : FieldKind::Text, name,
             multi_line ? length : std::min(length, kMaxTextLength), id, placement);
}

FormField* FormDialog::AddNumber(std::string_view name, const NumberLayout& layout, std::uint16_t id,
                                 int placement) {
  FormField* field = Add(FieldKind::Number, name, NumberFieldLength(layout), id, placement);
  if (field) field->number = layout;
  return field;
}

FormField* FormDialog::AddDate(std::string_view name, std::uint16_t id, int placement) {
  return Add(FieldKind::Date, name, 10, id, placement);
}

FormField* FormDialog::AddTime(std::string_view name, std::uint16_t id, int placement) {
  return Add(FieldKind::Time, name, 5, id, placement);
}

FormField* FormDialog::AddCheckBox(std::string_view text, int length, std::uint16_t id, int placement) {
  return Add(FieldKind::CheckBox, text, length, id, placement);
}

FormField* FormDialog::AddDrawn(FieldKind kind, std::string_view name, int length, std::uint16_t id,
                                int placement) {
  return Add(kind, name, length, id, placement);
}

FormField* FormDialog::Find(std::uint16_t id) {
  for (FormField& field : fields_)
    if (field.id == id) return &field;
  return nullptr;
}

const FormField* FormDialog::Find(std::uint16_t id) const {
  return const_cast<FormDialog*>(this)->Find(id);
}

void FormDialog::Layout(int cell_height) {
  const int cell_width = std::max(1, cell_height / 2);
  std::map<int, std::vector<FormField*>> rows;
  for (FormField& field : fields_) {
    if (!FixedSize(field.kind, field.width, field.height)) {
      field.width = (field.length + 2) * cell_width + 2;
      field.height = cell_height + 4;
    }
    rows[field.row].push_back(&field);
  }
  width_ = 0;
  int y = kMargin;
  std::vector<std::pair<std::vector<FormField*>, int>> button_rows;  // the buttons and their total width
  for (auto& [row, fields] : rows) {
    std::stable_sort(fields.begin(), fields.end(),
                     [](const FormField* a, const FormField* b) { return a->column < b->column; });
    int x = kMargin;
    int row_height = 0;
    std::vector<FormField*> buttons;
    int buttons_width = 0;
    for (FormField* field : fields) {
      field->y = y;
      row_height = std::max(row_height, field->height);
      if (field->kind == FieldKind::Button) {
        buttons_width += (buttons.empty() ? 0 : kButtonGap) + field->width;
        buttons.push_back(field);
        continue;
      }
      field->x = x;
      x += field->width + cell_width;
      width_ = std::max(width_, x - cell_width + kMargin);
    }
    if (!buttons.empty()) {
      width_ = std::max(width_, buttons_width + 2 * kMargin);
      button_rows.emplace_back(std::move(buttons), buttons_width);
    }
    y += row_height + kRowGap;
  }
  height_ = y - kRowGap + kMargin;
  for (auto& [buttons, total] : button_rows) {
    int x = (width_ - total) / 2;
    for (FormField* button : buttons) {
      button->x = x;
      x += button->width + kButtonGap;
    }
  }
}

bool FormDialog::LeaveField(FormField& field, UserInterface& ui) const {
  switch (field.kind) {
    case FieldKind::Date:
      return ValidateDate(ui, field.text);
    case FieldKind::Time:
      return ValidateTime(ui, field.text);
    case FieldKind::Number:
      FormatNumber(field.text, field.number);
      return true;
    case FieldKind::Text:
    case FieldKind::MultiLineText:
      if (field.upper_case) field.text = UpperCase(field.text);
      return true;
    default:
      return true;
  }
}

}  // namespace viamappa
