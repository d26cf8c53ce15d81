#pragma once
// Drawing inside an ancestor's stencil mask, shared by the drawable kinds
// that can be masked by a sprite node in mask mode 1.

namespace AE {

class ISceneNode;
class SpriteSceneNode;

// The nearest ancestor of `node` (from its parent up) that is a sprite node
// in mask mode 1; null when there is none.
SpriteSceneNode* findMaskNode(const ISceneNode& node);

// Finds the nearest masking ancestor of `node`; when it is not the mask the
// stencil buffer holds, clears the buffer and draws that mask into it. Then
// restricts drawing to the mask. Nothing happens without a masking ancestor.
void beginStencilDrawing(const ISceneNode& node);
// Ends the restriction, whether or not a mask was found.
void endStencilDrawing();

}  // namespace AE
