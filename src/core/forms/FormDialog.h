// Small forms described in code: a list of typed fields on a character grid, from which a window is
// built. The form keeps every field's text; leaving a typed field checks and reshapes it.
#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>

#include "forms/NumberShaping.h"
#include "ui/UserInterface.h"

namespace viamappa {

// The kinds of fields; the numbers are the forms' own codes.
enum class FieldKind : std::uint8_t {
  Label = 0,
  Button = 1,
  Text = 2,
  Number = 3,
  Date = 4,
  Time = 5,
  CheckBox = 6,
  MultiLineText = 7,
  FramedStatic = 8,
  ColourSample = 9,  // drawn samples: the form draws them itself
  FontNameSample = 10,
  LineSample = 11,
  TextSample = 12,
  SymbolSample = 13,
  AreaSample = 14,
  PatternSample = 15,
  FontSample = 16,
  DropDownList = 17,
};

// Placement codes of the adders: a new line starts at column 5 of the next row; any other code
// puts the field in the next column of the current row.
inline constexpr int kNextColumn = 0;
inline constexpr int kNewLine = 1;

struct FormField {
  FieldKind kind = FieldKind::Label;
  std::uint16_t id = 0;
  std::string label;  // the text of labels and buttons, the name of other fields
  std::string text;   // what an input field holds
  int length = 0;     // characters
  NumberLayout number;
  bool upper_case = false;
  bool read_only = false;
  bool checked = false;
  int placement = kNextColumn;
  // On the grid, and in pixels once the form is laid out.
  int column = 0, row = 0;
  int x = 0, y = 0, width = 0, height = 0;
  // Drawn samples.
  std::uint32_t line_colour = 0xFF0000;
  std::uint32_t fore_colour = 0xFFFF;
  std::uint32_t back_colour = 0xFFFFFF;
  int fill = 0x20;
  int symbol = 0;
  std::string sample_face = "Arial";

  // Whether the person types into it.
  bool IsInput() const { return kind != FieldKind::Label && kind != FieldKind::Button; }
};

class FormDialog {
 public:
  FormDialog(std::string title, std::string font_face = "MS Sans Serif", int font_size = 8);

  const std::string& title() const { return title_; }
  const std::string& font_face() const { return font_face_; }
  int font_size() const { return font_size_; }

  // The adders append a field after the last one (see kNewLine); each returns the field, or null
  // (adding nothing) when its label is empty.
  FormField* AddLabel(std::string_view text, int length, std::uint16_t id, int placement);
  FormField* AddButton(std::string_view text, int length, std::uint16_t id, int placement);
  // Text fields are at most 60 characters; multi_line for a text of several lines.
  FormField* AddText(std::string_view name, int length, std::uint16_t id, int placement,
                     bool multi_line = false);
  // The field's width follows the layout: digits, grouping points, decimals and sign.
  FormField* AddNumber(std::string_view name, const NumberLayout& layout, std::uint16_t id, int placement);
  FormField* AddDate(std::string_view name, std::uint16_t id, int placement);
  FormField* AddTime(std::string_view name, std::uint16_t id, int placement);
  FormField* AddCheckBox(std::string_view text, int length, std::uint16_t id, int placement);
  // A sample the form draws: one of the sample kinds, a framed static or a drop-down list.
  FormField* AddDrawn(FieldKind kind, std::string_view name, int length, std::uint16_t id, int placement);

  // The field of an identifier, or null.
  FormField* Find(std::uint16_t id);
  const FormField* Find(std::uint16_t id) const;
  const std::deque<FormField>& fields() const { return fields_; }
  std::deque<FormField>& fields() { return fields_; }
  int input_count() const { return input_count_; }

  // Places every field in pixels for a font whose character cells are cell_height high (and half
  // as wide): rows from the top, each row's fields left to right in column order, the buttons of a
  // row side by side and centred in the form. Sets the form's size.
  void Layout(int cell_height);
  int width() const { return width_; }
  int height() const { return height_; }

  // Leaving a field: a date or a time is checked (false after the message, the text as typed), a
  // number reshaped, an upper-case text turned to capitals.
  bool LeaveField(FormField& field, UserInterface& ui) const;

 private:
  FormField* Add(FieldKind kind, std::string_view label, int length, std::uint16_t id, int placement);

  std::string title_;
  std::string font_face_;
  int font_size_;
  std::deque<FormField> fields_;
  int current_row_ = 0;
  int next_column_ = 5;
  int next_row_ = 0;
  int input_count_ = 0;
  int width_ = 0;
  int height_ = 0;
};

}  // namespace viamappa
