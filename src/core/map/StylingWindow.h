// "Vestizione Tematismi": the window that lists the five styled layers, lets the person open their
// style and threshold forms and switch them on and off, and on "Chiudi" applies the records to the
// map and to the kept settings. This is its state and its rules; the window only shows them.
#pragma once

#include <string>
#include <vector>

#include "map/StyleRecord.h"
#include "ui/Canvas.h"

namespace viamappa {

// The window's commands: its buttons and the entries of its pop-up menu.
inline constexpr int kStyleCloseCommand = 6008;       // "Chiudi"
inline constexpr int kStyleGraphicsCommand = 6009;    // "Grafica"
inline constexpr int kStyleSelectCommand = 6010;      // "Seleziona": shows or hides the layer
inline constexpr int kStyleThresholdsCommand = 6011;  // "Max Min"

inline constexpr int kStyleHeaderHeight = 20;
inline constexpr int kStyleRowHeight = 36;

struct StyleButton {
  const char* text;
  int command;
  int left, right;  // pixels from the window's left edge
};
// Along the bottom edge: 30 pixels high, their tops 45 pixels above it.
inline constexpr int kStyleButtonHeight = 30;
inline constexpr int kStyleButtonRise = 45;
const std::vector<StyleButton>& StyleButtons();

struct StylePopupEntry {
  const char* text;
  int command;
};
const std::vector<StylePopupEntry>& StylePopupEntries();

enum class StyleColumn { Visibility, Sample, Code, Description, Minimum, Maximum, None };

struct StyleListColumn {
  StyleColumn column;
  const char* caption;
  int left, right;  // pixels
};
const std::vector<StyleListColumn>& StyleListColumns();

// What a double click asks the window to open.
enum class StyleAction { None, Graphics, Thresholds };

enum class StyleListKey { Up, Down, PageUp, PageDown, Home, End };

class StylingWindowModel {
 public:
  // The records of the settings with the visibility of the live layers; the first row selected.
  StylingWindowModel(const MapStyling& settings, const LayerSet* layers);

  std::vector<StyleRecord>& records() { return records_; }
  const std::vector<StyleRecord>& records() const { return records_; }
  int selected() const { return selected_; }
  StyleRecord* SelectedRecord();

  // The list panel's height in pixels, header included: how many rows it shows.
  void SetListHeight(int pixels);
  int visible_rows() const { return visible_rows_; }
  int first_row() const { return first_row_; }
  int max_first_row() const;
  void ScrollTo(int row);

  // The record row under the pixel row y of the panel, or -1 (the header, past the last record).
  int RowAt(int y) const;
  StyleColumn ColumnAt(int x) const;

  // A click selects the row under it; false when there is none.
  bool Click(int x, int y);
  // A double click selects its row; in the visibility column it shows or hides the layer, in the
  // sample column it asks for the style form, in a threshold column for the threshold form.
  StyleAction DoubleClick(int x, int y);
  // "Seleziona": shows or hides the selected layer.
  void SwitchVisible();
  // The keys move the selection and keep it in sight.
  void Key(StyleListKey key);

  // "Chiudi": every record into its layer and into the settings, the drawing order sorted again.
  void Apply(LayerSet& layers, MapStyling& settings) const;

 private:
  void Select(int row);

  std::vector<StyleRecord> records_;
  int selected_ = 0;
  int first_row_ = 0;
  int visible_rows_ = 1;
};

// The list panel on a surface of its size: the header, then a row a record from the first row shown,
// the selected one highlighted.
void DrawStyleList(Canvas& canvas, const StylingWindowModel& model);

// A threshold as the list shows it: "1:N", empty for none.
std::string ThresholdCell(std::int32_t threshold);

}  // namespace viamappa
