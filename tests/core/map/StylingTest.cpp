// The styling window's rules: its records, its forms and what "Chiudi" does to the map and the settings.
#include <gtest/gtest.h>

#include "map/LayerNames.h"
#include "map/StyleForms.h"
#include "map/StylingWindow.h"
#include "map/ThresholdForm.h"
#include "ui/ScriptedUserInterface.h"

namespace viamappa {
namespace {

// The layers the loader makes for the five styled ones, with a feature of their kind each.
void AddStyledLayers(LayerSet& layers, const MapStyling& settings) {
  for (const StyleRecord& record : BuildStyleRecords(settings, nullptr)) {
    LayerDefinition definition;
    definition.name = record.name;
    definition.kind = record.kind;
    definition.style = record.style;
    MapLayer& layer = layers.AddLayer(definition);
    if (record.kind == FeatureKind::Point) layer.AddPointFeature(1, 0, 0);
    if (record.kind == FeatureKind::Line)
      layer.AddPolyline(layer.AddLineFeature(1), PointArray({{0, 0}, {1, 1}}));
    if (record.kind == FeatureKind::Area)
      layer.AddPart(layer.AddAreaFeature(1), PointArray({{0, 0}, {1, 0}, {0, 1}, {0, 0}}));
  }
}

TEST(StylingTest, ThresholdsAreReadAndJudged) {
  const struct {
    const char* text;
    std::optional<std::int32_t> value;
  } reads[] = {{"   ", -1},        {"00000000", -1},    {"   50000", 50000}, {"2147483647", 2147483647},
               {"2147483648", {}}, {"99999999999", {}}, {"-1", {}},          {"1 000", {}}};
  for (const auto& r : reads) EXPECT_EQ(ReadThreshold(r.text), r.value) << r.text;

  const struct {
    const char* minimum;
    const char* maximum;
    bool accepted;
    std::int32_t stored_min, stored_max;
    const char* effect;  // of the pair stored, as the form shows it next time
    const char* reason;  // a line of the refusal
  } cases[] = {
      {"50000", "50000", false, 1000, 2000, "", "La soglia massima deve obbligatoriamente essere maggiore\n"},
      {"60000", "50000", false, 1000, 2000, "", "La soglia massima deve obbligatoriamente essere maggiore\n"},
      {"", "20000", true, -1, 20000, "Visibile per le scale minori di 1:20000", ""},
      {"5000", "0", true, 5000, -1, "Visibile per le scale maggiori di 1:5000", ""},
      {"0", "", true, -1, -1, "Sempre visibile", ""},
      {"   5000", "   20000", true, 5000, 20000, "Visibile tra la scala 1:5000 e la scala 1:20000", ""},
      {"abc", "20000", false, 1000, 2000, "", "Le soglie devono essere numeri interi da 1 a 2147483647;\n"},
      {"5000", "3000000000", false, 1000, 2000, "",
       "Le soglie devono essere numeri interi da 1 a 2147483647;\n"},
  };
  for (const auto& c : cases) {
    StyleRecord record = BuildStyleRecords(MapStyling(), nullptr)[0];
    record.style.minimum = 1000;
    record.style.maximum = 2000;
    ThresholdForm form(record);
    form.form().Find(ThresholdForm::kMinimumField)->text = c.minimum;
    form.form().Find(ThresholdForm::kMaximumField)->text = c.maximum;
    ScriptedUserInterface ui;
    EXPECT_EQ(form.Accept(record, ui), c.accepted) << c.minimum << " " << c.maximum;
    EXPECT_EQ(record.style.minimum, c.stored_min) << c.minimum;
    EXPECT_EQ(record.style.maximum, c.stored_max) << c.maximum;
    if (c.accepted) {
      EXPECT_TRUE(ui.messages().empty());
      const ThresholdForm again(record);
      EXPECT_EQ(again.form().Find(ThresholdForm::kEffectField)->text, c.effect);
      EXPECT_EQ(again.form().Find(ThresholdForm::kMinimumField)->text,
                c.stored_min == -1 ? "" : std::to_string(c.stored_min));
    } else {
      ASSERT_EQ(ui.messages().size(), 1u);
      EXPECT_NE(ui.last_message().text.find(c.reason), std::string::npos) << ui.last_message().text;
    }
  }
}

TEST(StylingTest, StyleFormsWriteTheirRules) {
  const std::vector<StyleRecord> records = BuildStyleRecords(MapStyling(), nullptr);
  const struct {
    std::size_t index;  // comuni, local
    std::uint32_t border, fore;
    std::uint32_t stored_fore;
    std::int8_t fill;
  } areas[] = {
      {0, 0xC0C0FF, 0xC0C0FF, 0x000000, -1},  // a foreground equal to the border becomes black
      {0, 0x000000, 0x000000, 0xFFFFFF, -1},  // and white when the border is black
      {0, 0xC0C0FF, 0x00FF00, 0x00FF00, -1},
      {1, 0x0080FF, 0x123456, 0x123456, -4},
  };
  for (const auto& a : areas) {
    StyleRecord record = records[a.index];
    AreaStyleForm form(record);
    form.SetBorder(a.border);
    form.SetForeground(a.fore);
    form.SetBackground(0x777777);
    form.SetWidth(6);
    form.SetLineStyle('T');
    form.SetHatch(-7);
    form.Apply(record);
    EXPECT_EQ(record.style.line_colour, a.border);
    EXPECT_EQ(record.style.fore_colour, a.stored_fore);
    EXPECT_EQ(record.style.back_colour, 0u);
    EXPECT_EQ(record.style.fill, a.fill);
    EXPECT_EQ(record.style.line_width, 6);
    EXPECT_EQ(record.style.line_style, ' ');
  }
  // Lines are drawn solid whatever style is chosen.
  StyleRecord arcs = records[3];
  LineStyleForm line(arcs);
  line.SetLineStyle('P');
  line.Apply(arcs);
  EXPECT_EQ(arcs.style.line_style, ' ');
}

// Rows of 36 pixels from y 20; double clicks act by column; keys and scrolling keep the selection in
// the list and in sight.
TEST(StylingTest, TheListAnswersClicksKeysAndScrolling) {
  StylingWindowModel model(MapStyling(), nullptr);
  model.SetListHeight(20 + 5 * 36);
  EXPECT_FALSE(model.Click(10, 20 + 36 * 5)) << "past the last record";
  EXPECT_EQ(model.DoubleClick(100, 20 + 36), StyleAction::Graphics);
  EXPECT_EQ(model.selected(), 1);
  EXPECT_EQ(model.DoubleClick(650, 30), StyleAction::Thresholds);
  EXPECT_EQ(model.DoubleClick(10, 20 + 36 * 7), StyleAction::None);  // no row there
  // A panel of two rows.
  model.SetListHeight(20 + 2 * 36 + 10);
  model.Key(StyleListKey::End);
  EXPECT_EQ(model.selected(), 4);
  EXPECT_EQ(model.first_row(), 3);
  model.Key(StyleListKey::Down);
  EXPECT_EQ(model.selected(), 4);
  model.Key(StyleListKey::PageUp);
  EXPECT_EQ(model.selected(), 2);
  model.Key(StyleListKey::Home);
  EXPECT_EQ(model.first_row(), 0);
  model.ScrollTo(10);
  EXPECT_EQ(model.first_row(), 3);
  EXPECT_EQ(model.RowAt(20), 3);
}

TEST(StylingTest, ClosingAppliesTheRecordsToTheLayersAndTheSettings) {
  MapStyling settings;
  LayerSet layers;
  AddStyledLayers(layers, settings);
  StylingWindowModel model(settings, &layers);
  for (StyleRecord& record : model.records()) {
    if (record.name == kArcLayer) {
      record.style.line_colour = 0x00AA00;
      record.style.line_width = 5;
    }
    if (record.name == kNodeLayer) {
      record.style.symbol = 19;
      record.style.priority = 9;  // drawn first from now on
      record.style.minimum = 1000;
    }
    if (record.name == kLocalityLayer) record.style.visible = false;
  }
  model.Apply(layers, settings);
  EXPECT_EQ(layers.FindLayer(kNodeLayer)->style().symbol, 19);
  EXPECT_EQ(layers.FindLayer(kArcLayer)->style().line_colour, 0x00AA00u);
  EXPECT_FALSE(layers.FindLayer(kLocalityLayer)->style().visible);
  EXPECT_EQ(layers.drawing_order().front()->name(), "nodi");
  // These settings change, the rest stay as they were.
  MapStyling expected;
  expected.col_archi = 0x00AA00;
  expected.lin_archi = 5;
  expected.sym_nodi = 19;
  expected.min_nodi = 1000;
  EXPECT_EQ(settings, expected);
  // A new window lists the layers in drawing order, its style from the settings, its visibility from
  // the layers.
  const StylingWindowModel again(settings, &layers);
  std::vector<std::string> names;
  for (const StyleRecord& record : again.records()) names.push_back(record.name);
  EXPECT_EQ(names, (std::vector<std::string>{"comuni", "local", "toponvie", "archi", "nodi"}));
  EXPECT_TRUE(again.records()[0].style.visible);
  EXPECT_FALSE(again.records()[1].style.visible);
  EXPECT_EQ(again.records()[3].style.line_colour, 0x00AA00u);
  EXPECT_EQ(again.records()[4].style.symbol, 19);
}

}  // namespace
}  // namespace viamappa
