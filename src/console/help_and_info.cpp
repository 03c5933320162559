#include "console/help_and_info.h"

#include <map>

#include "console/command_context.h"
#include "model/skeleton.h"
#include "recovery/recovery_session.h"

namespace {

// What each command takes and does, short enough for one line of the console.
const std::map<std::string, std::string, std::less<>> kSummaries = {
    {"/open", "PATH - open a model file, or import another format"},
    {"/save", "PATH - save the model to PATH"},
    {"/loadtex", "FILE - load a texture for the current group"},
    {"/setbb", "X0 X1 Y0 Y1 Z0 Z1 - set the bounding box"},
    {"/showtex", "- show the texture in the UV view"},
    {"/hidetex", "- hide the texture in the UV view"},
    {"/setx", "V - set x of every selected vertex"},
    {"/sety", "V - set y of every selected vertex"},
    {"/setz", "V - set z of every selected vertex"},
    {"/getpos", "- print the selected vertices on standard output"},
    {"/setcylinder", "SIDES LEVELS - sides and rings of the next cylinder"},
    {"/smoothpolys", "- smooth shading for the selected triangles"},
    {"/flattenpolys", "- flat shading for the selected triangles"},
    {"/setcolor", "R G B A - colour of the current group"},
    {"/polycount", "- count the current group's triangles"},
    {"/export", "PATH - write the model as glTF or OBJ"},
    {"/recover", "- restore the unsaved changes found for this model"},
    {"/discard", "- remove the unsaved changes found for this model"},
    {"/fit", "- fit every view to the selection or the model"},
    {"/move", "DX DY DZ - move the selection (animating: the bone)"},
    {"/rotate", "X|Y|Z DEGREES - turn the selection about its centre"},
    {"/scale", "SX SY SZ - scale the selection about its centre"},
    {"/info", "- the file, unsaved changes and what the model holds"},
    {"/help", "- list the commands"},
    {"/anim", "- enter or leave animation mode"},
    {"/clip", "NAME - show the clip NAME, made if missing"},
    {"/frame", "N - show frame N of the current clip"},
    {"/key", "- key the selected bone at this frame"},
    {"/unkey", "- remove the selected bone's key here"},
    {"/play", "- play the current clip round and round"},
    {"/stop", "- stop playing"},
    {"/fps", "N - the current clip's frames a second"},
    {"/length", "N - the current clip's length in frames"},
    {"/weight", "W|auto - selected bone's weight on the vertices"},
    {"/brush", "RADIUS STRENGTH - the Weight Paint brush (W)"},
    {"/weights", "normalize|smooth N|auto - the selected vertices' weights"},
    {"/quit", "- close the editor, keeping unsaved changes"},
    {"/snap", "STEP|vertex|off - snap tools to a grid or vertices (g)"},
    {"/subdivide", "- split each selected triangle into four (i)"},
    {"/project", "box|cylinder|sphere|view - map the selection (y Y h H)"},
    {"/unwrap", "[ANGLE] - cut, flatten and pack the selection (u)"},
    {"/pack", "- pack the selected triangles' charts (U)"},
    {"/mirror", "x|y|z|off - edit both sides of a plane at once (M)"},
    {"/symmetrize", "[-]x|y|z - make the model its own mirror image (X)"},
    {"/refimage", "VIEW FILE [SCALE]|off - a sketch behind a flat view"},
    {"/interp", "step|linear|smooth - how this key goes on to the next"},
    {"/ik", "[N]|off - Move turns a chain of N bones (2) to reach the pointer"},
    {"/merge", "D - weld the selected vertices within D (N)"},
    {"/seam", "- mark or clear the edges between selected vertices (j)"},
    {"/bonename", "NAME - name the selected bone"},
    {"/mirrorbones", "x|y|z - copy the positive side's bones to the other side"},
    {"/mirrorweights", "x|y|z - give mirror vertices the positive side's weights"},
};

}  // namespace

void listCommands(CommandContext& e, const std::vector<std::string>& names) {
  for (const std::string& name : names) {
    const auto summary = kSummaries.find(name);
    e.consoleMessage(summary == kSummaries.end() ? name : name + " " + summary->second);
  }
}

void describeModel(CommandContext& e) {
  const Model& m = *e.doc.model;
  e.consoleMessage("File: " + m.name +
                   (e.doc.unsavedChanges() ? " (unsaved changes)" : " (no unsaved changes)"));
  e.consoleMessage("Vertices: " + std::to_string(m.vertices.count()) + " (" +
                   std::to_string(e.doc.selectedVertices.count()) + " selected)");
  e.consoleMessage("Triangles: " + std::to_string(m.polygonCount()) + " (" +
                   std::to_string(e.doc.selectedPolygons.count()) + " selected)");
  const int bones = m.hasSkeleton && m.skeleton ? m.skeleton->boneCount : 0;
  e.consoleMessage("Groups: " + std::to_string(m.groups.count()) +
                   ", bones: " + std::to_string(bones));
}
