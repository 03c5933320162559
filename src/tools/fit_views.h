#pragma once
// Fitting the views to what the user works on.

struct ToolContext;

// Frames the Side, Front, Top and Full views on the selection (the selected
// vertices, the corners of the selected triangles and the selected bone's
// joints) or, when nothing is selected, on the whole model with its skeleton;
// the Full view then turns about that centre. In animation mode all of these
// are framed where the current frame's pose puts them, as the views show them.
// With nothing to frame the views
// stay as they are. The model is not changed and no undo step is taken.
void fitViews(ToolContext& e);
