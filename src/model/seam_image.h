#pragma once
// A model's seams as the numbers a model file carries (ModelImage's seams),
// and back.

#include <string>
#include <vector>

#include "model/model_image.h"

class Model;
struct Vertex;

// The model's seams between vertices the image numbers; `byNumber` holds the
// vertices by those numbers, and each vertex's fileIndex is its number. A
// seam with a vertex no longer in the model has no line.
void captureSeams(const Model& model, ModelImage& image, const std::vector<Vertex*>& byNumber);

// What is wrong with seam `i` against those before it, "" when nothing: a
// vertex out of range, an edge from a vertex to itself, seams out of order.
std::string seamFault(const ModelImage& image, size_t i);

// Gives the model the image's seams, on the records `vertices` numbers.
void buildSeams(const ModelImage& image, Model& model, const std::vector<Vertex*>& vertices);
