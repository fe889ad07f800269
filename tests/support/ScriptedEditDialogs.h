// The editing dialogs played from a script: the answers of the next new-arc forms, and a record of the
// arcs whose attributes were opened.
#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "edit/NewArcForm.h"

namespace viamappa::testing {

struct NewArcAnswer {
  std::string name;
  std::string alternative;
  int class_index = 1;
};

class ScriptedEditDialogs : public EditDialogs {
 public:
  // The next form gets these values and OK; nullopt (or nothing queued) cancels it.
  void Queue(std::optional<NewArcAnswer> answer) { answers_.push_back(std::move(answer)); }

  bool AskNewArc(NewArcForm& form) override {
    ++forms_shown;
    if (answers_.empty()) return false;
    const std::optional<NewArcAnswer> answer = answers_.front();
    answers_.pop_front();
    if (!answer) return false;
    form.SetName(answer->name);
    form.SetAlternative(answer->alternative);
    form.SetClassIndex(answer->class_index);
    return !form.Accept().has_value();
  }

  void OpenArcAttributes(LineFeature& arc) override { opened.push_back(arc.id); }

  int forms_shown = 0;
  std::vector<std::int32_t> opened;

 private:
  std::deque<std::optional<NewArcAnswer>> answers_;
};

}  // namespace viamappa::testing
