#pragma once
// The selected triangles that are in the model, each once, in the model's order.

#include <vector>

#include "document/document.h"

std::vector<Polygon*> selectedTriangles(const Document& doc);
