#pragma once
// Fitting the views to what the user works on.

class Editor;

// Frames the Side, Front, Top and Full views on the selection (the selected
// vertices, the corners of the selected triangles and the selected bone's
// joints) or, when nothing is selected, on the whole model with its skeleton;
// the Full view then turns about that centre. With nothing to frame the views
// stay as they are. The model is not changed and no undo step is taken.
void fitViews(Editor& e);
