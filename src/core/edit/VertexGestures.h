// The gestures on the vertices of the hot arc: picking and dragging a vertex (drag mode), inserting a
// vertex where the arc is pressed and dragging it (adjust mode), deleting the picked vertex (delete
// mode), and the release that attaches the dragged vertex and writes the drag.
#pragma once

#include "edit/EditingState.h"

namespace viamappa {

class VertexGestures {
 public:
  // The vertex step of the drag and delete modes; false when it picked nothing and the hover step
  // follows.
  static bool VertexStep(EditContext& c, const PointerFrame& pointer, bool left_held);

  // The adjust step; false when it picked nothing and the hover step follows.
  static bool AdjustStep(EditContext& c, const PointerFrame& pointer, bool left_held);

  // The button went up: in the drag and adjust modes a dragged vertex over a target is attached; what
  // the drag changed is written.
  static void Release(EditContext& c);

  // Deletes the picked vertex of the hot arc (delete mode).
  static void DeletePickedVertex(EditContext& c);

 private:
  static void MoveVertex(EditContext& c, const PointerFrame& pointer);
};

}  // namespace viamappa
