#pragma once
// A model made into its own pose: every vertex and joint moved where the pose
// puts it, the normals of smooth corners turned with their vertex, and the
// clips and hand-set weights dropped, since they described the old rest.

class Model;
struct Clip;

// A skeleton of more bones than a pose holds (poseRefusal) leaves the model
// as it is.
void bakePose(Model& model, const Clip* clip, double frame);
