// Hovering: which arc is hot under the pointer (with its label), which vertex of it is picked in the
// vertex modes, where the pointer snaps in the drawing and path modes, and the labels of the locality
// and the municipality under the pointer.
#pragma once

#include "edit/EditingState.h"

namespace viamappa {

class HoverGesture {
 public:
  // The hover step: a hot arc still within reach stays (except in the drawing and path modes);
  // otherwise the snap (drawing and path modes), the arc pick, then the area labels.
  static void Step(EditContext& c, const PointerFrame& pointer);

  // Picks the first arc within reach as the hot arc; in the vertex modes picks its vertex too, else
  // highlights it. False when no arc is within reach.
  static bool PickArc(EditContext& c, const PointerFrame& pointer);

  // Picks the vertex of the hot arc under the pointer (vertex modes); false when none.
  static bool PickVertex(EditContext& c, const PointerFrame& pointer);

  // The hover snap: sets or unsets the snap point; an arc whose end it snapped to becomes hot when none
  // is. True when it snapped.
  static bool Snap(EditContext& c, const PointerFrame& pointer);

  // Forgets the hot arc, its highlight and its vertex.
  static void ClearHotArc(EditingState& state);

 private:
  static void AreaLabels(EditContext& c, const PointerFrame& pointer);
};

}  // namespace viamappa
