#pragma once
// Unwrapping: the selected triangles are cut into charts at seams, where they
// meet at a sharper angle than `angleDegrees` (between their facings), where groups
// or bones change, and where more than two triangles share an edge; a chart
// that does not lie flat as one piece (a tube, a closed shell) is halved until
// each does. Each chart is flattened by a least-squares conformal map, which
// keeps angles as far as it can, and the charts are packed into the texture
// square two texels of a `textureSize` texture apart. One undo step.

struct ToolContext;

constexpr double kDefaultUnwrapAngle = 66;

void unwrapSelection(ToolContext& e, double angleDegrees, int textureSize);
