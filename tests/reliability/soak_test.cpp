// Random input; after each step the model is intact, its snapshot (and undo) gives the model
// from before, a change empties the redo list, and undo with redo is the identity.
// VANTOREL_SOAK_SEED, _SEEDS and _STEPS set the run; failures name seed and step.

#include <algorithm>
#include <cstdlib>
#include <random>

#include "formats/model_file.h"
#include "support/editor_fixture.h"
#include "support/fixtures.h"
#include "support/format_fixtures.h"
#include "support/model_invariants.h"
#include "support/undo_steps.h"

namespace {

constexpr const char* kSeedModel =
    "5\n0 0 0\n1 0 0\n0 1 0\n1 1 0.5\n-0.5 0.25 1\n2\n1\n0 1 2 0 1 0 0 0 1 \n0\n1 0 0 1\n"
    "3\n1 3 2 0.25 0.5 0.75 0 0 0 \n3 4 0 0 0 0 0 0 0 \n4 0 1 0 0 0 0 0 0 \n1\ntex.bmp\n"
    "0.5 0.5 0.5 1\n3\n1 0 0 0 0 0 0 -1\n2 0 1 0 0 0 1 2 -1\n2 1 0 0 0 0 3 -1\n";
// Bound keys, Backspace, Delete, Ctrl+S, Ctrl+/; modifiers 8 and 16 are lock keys.
const std::string kKeys = "\b /BR`abcdefmnopqrsvwxzZ\x7f\x13\x1flk";
const int kModifiers[] = {0, 0, kShift, kCtrl, kAlt, kShift | kCtrl, 8, 8 | kShift, 16 | kCtrl};

class SoakRun : public EditorTest {
 public:
  explicit SoakRun(uint64_t seed) : rng(seed) {
    editor.doc.undoLimit = 8;
    writeFile("seed.mdl", kSeedModel);
    writeFile("tex.bmp", tinyBmp());
    runConsoleCommand(editor, "/open seed.mdl");
  }
  void TestBody() override {}

  void step() {
    const int roll = below(100), mods = chance(60) ? 0 : kModifiers[below(std::size(kModifiers))];
    if (held >= 0) {  // a button pressed alone in one step is released in the next
      point(), release(held, x, y, mods), held = -1;
    } else if (editor.doc.model->polygonCount() > 3000 ||
               editor.doc.model->vertices.count() > 6000) {
      writeFile("seed.mdl", kSeedModel);  // keeps the steps quick
      runConsoleCommand(editor, "/open seed.mdl");
    } else if (roll < 38) {  // a tool by F1-F3, key or menu, then a click or drag
      const int how = below(4), b = chance(90) ? kLeftButton : below(3);
      if (how == 0) special(kKeyF1 + below(3));
      if (how == 1) key(" mrsvbcexq"[below(10)]);
      if (how >= 2) toolMenuCommand(editor, 17 + below(13));
      point();
      const int x0 = x, y0 = y;
      if (chance(75)) point();
      press(b, x0, y0, mods);
      for (int i = below(4); i > 0; --i) moveTo(x0 + (x - x0) * i / 4, y0 + (y - y0) * i / 4);
      if (chance(5)) toolMenuCommand(editor, 17 + below(13));
      release(b, x, y, mods);
    } else if (roll < 44) {  // clicks on vertices, then a key for such a selection
      special(kKeyF1);
      for (int i = 0, n = below(4); i <= n && point(true); ++i)
        click(kLeftButton, x, y, i ? kShift : 0);
      if (chance(60)) key("pnd\x7f"[below(4)]);
    } else if (roll < 68) {  // a special key or a byte at the pointer
      const int n = below(22), f = n < 12 ? n + 1 : n < 21 ? n + 88 : 112;  // F1-F12, arrows...
      const int k = roll >= 61 ? f : chance(90) ? kKeys[below(kKeys.size())] : below(256);
      point();
      moveTo(x, y);
      roll >= 61 ? special(k, mods) : key(k, k == 19 || k == 31 ? kCtrl : mods);
    } else if (roll < 80) {
      editor.uiContext()->pushCommand(below(40));
    } else if (roll < 93) {
      held = below(5);  // left, middle, right, wheel up, wheel down
      point();
      press(held, x, y, mods);
    } else {
      key(chance(60) ? 'z' : 'Z');
    }
    editor.framePump();
  }

  std::string run(uint64_t steps) {
    const UndoHistory& history = editor.doc.undoHistory;
    for (uint64_t n = 1; n <= steps; ++n) {
      const ModelImage before = captureImage(*editor.doc.model);
      const std::string name = editor.doc.model->name;
      // An edit's step is the model's image; a redo's, of a model an undo or redo gave back,
      // the image it was built from.
      const bool givenBack = editor.doc.builtFrom() != nullptr;
      const Snapshot newest = history.newestUndo();
      const std::vector<Snapshot> old = undoSteps(history);
      const size_t redoDepth = history.redoCount();
      step();
      std::string fault = findModelFault(*editor.doc.model);
      // A step that took snapshots (or redid one) leaves a new newest step and the redo list
      // empty or one shorter; the steps from before then follow the oldest it kept.
      const std::vector<Snapshot> stack = undoSteps(history);
      const bool moved = history.undoCount() > 0 && history.newestUndo().image != newest.image &&
                         (history.redoCount() == 0 || history.redoCount() + 1 == redoDepth);
      auto follows = [&](size_t pushed) {
        const size_t kept = stack.size() - pushed;
        return stack.size() == std::min<size_t>(old.size() + pushed, editor.doc.undoLimit) &&
               kept <= old.size() &&
               std::equal(stack.begin(), stack.begin() + kept, old.end() - kept, sameSnapshot);
      };
      size_t pushed = 0;
      while (moved && pushed < stack.size() && !follows(++pushed)) continue;
      if (fault.empty() && moved && !follows(pushed))
        fault = "the undo stack does not hold the newest snapshots up to its limit";
      if (fault.empty() && moved) {
        const Snapshot& first = stack[stack.size() - pushed];
        const bool asBuilt = givenBack && rebuiltImage(*first.image) == before;
        if (!(*first.image == before || asBuilt) || first.name != name)
          fault = "the step's snapshot is not the model from before the step";
        else if (rng() % 4 == 0) {
          for (size_t i = 0; i < pushed; ++i) undo(editor.doc);
          if (!(captureImage(*editor.doc.model) == (asBuilt ? before : rebuiltImage(before))) ||
              editor.doc.model->name != name)
            fault = "undo did not give back the model from before the step";
        }
      }
      if (fault.empty() && chance(50)) fault = undoRedoFault();
      if (!fault.empty()) return "step " + std::to_string(n) + ": " + fault;
    }
    return "";
  }

 private:
  SilencedStdout quiet;
  std::mt19937_64 rng;
  int below(size_t n) { return static_cast<int>(rng() % n); }
  bool chance(int percent) { return below(100) < percent; }
  // The pointer anywhere, in the UV view, or on a vertex; false for a vertex of an empty model.
  bool point(bool onVertex = false) {
    const Viewport& uv = editor.viewSet.views[kUvView];
    if (!onVertex && editor.panelsShown && chance(15)) {
      x = uv.rectLeft + below(std::max(1, uv.rectRight - uv.rectLeft));
      y = 600 - uv.rectBottom - below(std::max(1, uv.rectTop - uv.rectBottom));
    } else if (editor.doc.model->vertices.empty() || (!onVertex && chance(35))) {
      x = below(800), y = below(600);
    } else {
      const Vertex* v = editor.doc.model->vertices.at(below(editor.doc.model->vertices.count()));
      const int kind = editor.viewSet.layoutMode == 1 ? below(3) : editor.viewSet.singleView;
      const Viewport& w = editor.viewSet.views[kind];
      auto pixel = [&](double c, double lo, double hi, double size, int offset) {
        return int(std::clamp(offset + (c - lo) / (hi - lo) * size, -100.0, 900.0)) + below(7) - 3;
      };
      x = pixel(kind == kSideView ? v->x : v->z, w.left, w.right, w.pixelWidth, w.rectLeft);
      y = 600 - pixel(kind == kTopView ? v->x : v->y, w.bottom, w.top, w.pixelHeight, w.rectBottom);
    }
    return !onVertex || !editor.doc.model->vertices.empty();
  }

  // Undo then redo, or redo then undo: the first gives back its step's model exactly, the second
  // the model from before (each step's model as rebuilt from its image, with its name; a model
  // an undo or redo gave back, unchanged since, comes back as it is).
  std::string undoRedoFault() {
    const UndoHistory& history = editor.doc.undoHistory;
    const bool undoFirst = history.undoCount() > 0 && (history.redoCount() == 0 || chance(50));
    if (!undoFirst && history.redoCount() == 0) return "";
    const Snapshot other = undoFirst ? history.newestUndo() : history.nextRedo();
    const bool givenBack = editor.doc.builtFrom() != nullptr;
    const Snapshot now{editor.doc.model->name,
                       std::make_shared<ModelImage>(captureImage(*editor.doc.model))};
    auto gives = [&](const Snapshot& s, bool asItIs = false) {
      return captureImage(*editor.doc.model) == (asItIs ? *s.image : rebuiltImage(*s.image)) &&
             editor.doc.model->name == s.name;
    };
    undoFirst ? undo(editor.doc) : redo(editor.doc);
    if (!gives(other))
      return undoFirst ? "undo did not give its step" : "redo did not give its step";
    undoFirst ? redo(editor.doc) : undo(editor.doc);
    return gives(now, givenBack) ? "" : "undo and redo together changed the model";
  }

  int x = 0, y = 0, held = -1;
};

TEST(SoakTest, RandomOperationsKeepTheModelIntactAndUndoable) {
  auto setting = [](const char* name, uint64_t fallback) -> uint64_t {
    const char* text = std::getenv(name);
    return text && *text ? std::strtoull(text, nullptr, 10) : fallback;
  };
  const uint64_t first = setting("VANTOREL_SOAK_SEED", 1);
  const uint64_t steps = setting("VANTOREL_SOAK_STEPS", 1000);
  for (uint64_t seed = first; seed < first + setting("VANTOREL_SOAK_SEEDS", 2); ++seed) {
    ScratchCwd scratch;
    ASSERT_EQ(SoakRun(seed).run(steps), "") << "seed " << seed;
  }
}

}  // namespace
