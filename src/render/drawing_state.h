#pragma once
// Drawing's own memory, kept from frame to frame: the model's arrays while its
// revision stands, the posed model's, the marker corners, the UV view's outlines, the kept view
// pictures, the light, and the drawing switches tests and benchmarks turn.

#include <memory>
#include <vector>

#include "render/light.h"
#include "render/model_drawing.h"
#include "render/posed_drawing.h"
#include "render/uv_outlines.h"
#include "render/view_freshness.h"
#include "render/weight_colours.h"

struct DrawingState {
  // 1 draws in batches: the model's triangles and points from vertex arrays,
  // the markers (vertex, selected vertex, joint) and bones as arrays of
  // corners computed on the CPU, only the marker faces that can show (in a
  // flat view one square each). 0 draws everything the plain way, one call
  // per vertex and one glut cube per marker, kept as the reference for tests
  // and benchmarks: both give the same pixels except that a marker's edge
  // may fall one pixel over.
  bool batchDrawing = true;
  // 1 keeps each view's finished picture and draws a view again only when
  // what it shows changed (render/view_freshness.h); 0 draws every view each
  // frame, the reference for tests and benchmarks.
  bool keepViewPictures = true;
  int viewsRedrawn = 0;  // bit i set when the last frame drew view i (4: UV) again
  KeptViews keptViews;
  ModelDrawing modelDrawing;        // the model's arrays while its revision stands
  std::vector<float> markerBuffer;  // reused by drawVertexMarkers
  PosedDrawing posedDrawing;        // the posed model's arrays
  UvOutlineCache uvOutlines;        // the UV view's chart borders and seams
  WeightColourCache weightColours;  // the painted bone's weights as corner colours
  std::unique_ptr<Light> light;
  bool lightPending = true;  // until the first frame has created the light
  // Short of memory, the last frame left part of a view out; the console has
  // said so since a frame was last drawn whole.
  bool frameInPart = false, frameInPartNoted = false;

  // Every kept view picture is drawn again at the next frame.
  void forgetViewPictures() { keptViews.forget(); }
};
