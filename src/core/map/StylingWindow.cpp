#include "map/StylingWindow.h"

#include <algorithm>

#include "base/NumberText.h"
#include "map/StyleSamples.h"

namespace viamappa {

namespace {

constexpr Colour kHeaderBackground = 0xE0E0E0;
constexpr Colour kSelectedBackground = 0xF0D8B0;  // a light blue
constexpr Colour kRule = 0xC0C0C0;
constexpr double kTextHeight = 13;

const char* KindName(FeatureKind kind) {
  switch (kind) {
    case FeatureKind::Point:
      return "Punti";
    case FeatureKind::Line:
      return "Linee";
    case FeatureKind::Area:
      return "Aree";
  }
  return "";
}

void HorizontalRule(Canvas& canvas, double y, double width) {
  const Point rule[2] = {{0, y + 0.5}, {width, y + 0.5}};
  canvas.SetPen({kRule, 1, LineStyle::Solid});
  canvas.DrawPolyline(rule, 2);
}

// A small check box: ticked while the layer is shown.
void VisibilityBox(Canvas& canvas, double x, double y, bool visible) {
  canvas.FillRectangle(x, y, 12, 12, kWhite);
  canvas.SetPen({kBlack, 1, LineStyle::Solid});
  canvas.DrawRectangle(x + 0.5, y + 0.5, 11, 11);
  if (!visible) return;
  const Point tick[3] = {{x + 2.5, y + 6.5}, {x + 5, y + 9}, {x + 10, y + 3}};
  canvas.SetPen({kBlack, 2, LineStyle::Solid});
  canvas.DrawPolyline(tick, 3);
}

}  // namespace

const std::vector<StyleButton>& StyleButtons() {
  static const std::vector<StyleButton> buttons = {{"Seleziona", kStyleSelectCommand, 5, 100},
                                                   {"Grafica", kStyleGraphicsCommand, 105, 200},
                                                   {"Max Min", kStyleThresholdsCommand, 205, 300},
                                                   {"Chiudi", kStyleCloseCommand, 305, 400}};
  return buttons;
}

const std::vector<StylePopupEntry>& StylePopupEntries() {
  static const std::vector<StylePopupEntry> entries = {{"&Seleziona", kStyleSelectCommand},
                                                       {"&Grafica", kStyleGraphicsCommand},
                                                       {"&Chiudi", kStyleCloseCommand}};
  return entries;
}

const std::vector<StyleListColumn>& StyleListColumns() {
  static const std::vector<StyleListColumn> columns = {{StyleColumn::Visibility, "Tipo", 0, 80},
                                                       {StyleColumn::Sample, "Grafica", 80, 180},
                                                       {StyleColumn::Code, "Codice", 180, 280},
                                                       {StyleColumn::Description, "Denominazione", 280, 480},
                                                       {StyleColumn::Minimum, "Soglia Minima", 480, 600},
                                                       {StyleColumn::Maximum, "Soglia Massima", 600, 720}};
  return columns;
}

std::string ThresholdCell(std::int32_t threshold) {
  return threshold == -1 ? std::string() : "1:" + FormatInteger(threshold);
}

StylingWindowModel::StylingWindowModel(const MapStyling& settings, const LayerSet* layers)
    : records_(BuildStyleRecords(settings, layers)) {}

StyleRecord* StylingWindowModel::SelectedRecord() {
  return selected_ >= 0 && selected_ < static_cast<int>(records_.size())
             ? &records_[static_cast<std::size_t>(selected_)]
             : nullptr;
}

void StylingWindowModel::SetListHeight(int pixels) {
  visible_rows_ = std::max(1, (pixels - kStyleHeaderHeight) / kStyleRowHeight);
  ScrollTo(first_row_);
}

int StylingWindowModel::max_first_row() const {
  return std::max(0, static_cast<int>(records_.size()) - visible_rows_);
}

void StylingWindowModel::ScrollTo(int row) {
  first_row_ = std::clamp(row, 0, max_first_row());
}

int StylingWindowModel::RowAt(int y) const {
  if (y < kStyleHeaderHeight) return -1;
  const int row = first_row_ + (y - kStyleHeaderHeight) / kStyleRowHeight;
  return row < static_cast<int>(records_.size()) ? row : -1;
}

StyleColumn StylingWindowModel::ColumnAt(int x) const {
  for (const StyleListColumn& column : StyleListColumns())
    if (x >= column.left && x < column.right) return column.column;
  return StyleColumn::None;
}

void StylingWindowModel::Select(int row) {
  selected_ = std::clamp(row, 0, static_cast<int>(records_.size()) - 1);
  if (selected_ < first_row_) ScrollTo(selected_);
  if (selected_ >= first_row_ + visible_rows_) ScrollTo(selected_ - visible_rows_ + 1);
}

// Every column of a row selects it.
bool StylingWindowModel::Click(int, int y) {
  const int row = RowAt(y);
  if (row < 0) return false;
  Select(row);
  return true;
}

StyleAction StylingWindowModel::DoubleClick(int x, int y) {
  if (!Click(x, y)) return StyleAction::None;
  switch (ColumnAt(x)) {
    case StyleColumn::Visibility:
      SwitchVisible();
      return StyleAction::None;
    case StyleColumn::Sample:
      return StyleAction::Graphics;
    case StyleColumn::Minimum:
    case StyleColumn::Maximum:
      return StyleAction::Thresholds;
    default:
      return StyleAction::None;
  }
}

void StylingWindowModel::SwitchVisible() {
  if (StyleRecord* record = SelectedRecord()) record->style.visible = !record->style.visible;
}

void StylingWindowModel::Key(StyleListKey key) {
  const int last = static_cast<int>(records_.size()) - 1;
  switch (key) {
    case StyleListKey::Up:
      return Select(selected_ - 1);
    case StyleListKey::Down:
      return Select(selected_ + 1);
    case StyleListKey::PageUp:
      return Select(selected_ - visible_rows_);
    case StyleListKey::PageDown:
      return Select(selected_ + visible_rows_);
    case StyleListKey::Home:
      return Select(0);
    case StyleListKey::End:
      return Select(last);
  }
}

void StylingWindowModel::Apply(LayerSet& layers, MapStyling& settings) const {
  ApplyStyleRecords(records_, layers, settings);
}

void DrawStyleList(Canvas& canvas, const StylingWindowModel& model) {
  const double width = canvas.width();
  canvas.Clear(kWhite);
  canvas.FillRectangle(0, 0, width, kStyleHeaderHeight, kHeaderBackground);
  canvas.SetFont({"Arial", kTextHeight, 0});
  for (const StyleListColumn& column : StyleListColumns())
    canvas.DrawText(column.left + 6, kStyleHeaderHeight - 5, column.caption, kBlack);
  HorizontalRule(canvas, kStyleHeaderHeight - 1, width);
  const std::vector<StyleRecord>& records = model.records();
  for (int row = model.first_row(), shown = 0;
       row < static_cast<int>(records.size()) && shown < model.visible_rows() + 1; ++row, ++shown) {
    const StyleRecord& record = records[static_cast<std::size_t>(row)];
    const double top = kStyleHeaderHeight + shown * kStyleRowHeight;
    if (row == model.selected()) canvas.FillRectangle(0, top, width, kStyleRowHeight, kSelectedBackground);
    const double baseline = top + kStyleRowHeight / 2.0 + kTextHeight / 3;
    canvas.SetFont({"Arial", kTextHeight, 0});
    for (const StyleListColumn& column : StyleListColumns()) {
      const double left = column.left + 6;
      switch (column.column) {
        case StyleColumn::Visibility:
          VisibilityBox(canvas, left, top + kStyleRowHeight / 2.0 - 6, record.style.visible);
          canvas.DrawText(left + 18, baseline, KindName(record.kind), kBlack);
          break;
        case StyleColumn::Sample: {
          const SampleBox box{left, top + 3, column.right - column.left - 12.0, kStyleRowHeight - 6.0};
          if (record.kind == FeatureKind::Point) DrawSymbolSample(canvas, box, record.style);
          if (record.kind == FeatureKind::Line) DrawLineSample(canvas, box, record.style, {});
          if (record.kind == FeatureKind::Area) DrawAreaSample(canvas, box, record.style, {});
          canvas.SetFont({"Arial", kTextHeight, 0});
          break;
        }
        case StyleColumn::Code:
          canvas.DrawText(left, baseline, record.name, kBlack);
          break;
        case StyleColumn::Description:
          canvas.DrawText(left, baseline, record.description, kBlack);
          break;
        case StyleColumn::Minimum:
          canvas.DrawText(left, baseline, ThresholdCell(record.style.minimum), kBlack);
          break;
        case StyleColumn::Maximum:
          canvas.DrawText(left, baseline, ThresholdCell(record.style.maximum), kBlack);
          break;
        case StyleColumn::None:
          break;
      }
    }
    HorizontalRule(canvas, top + kStyleRowHeight - 1, width);
  }
}

}  // namespace viamappa
