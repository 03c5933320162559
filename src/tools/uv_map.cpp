// UV Map Selected (contract in polygon_ops.h).

#include <charconv>
#include <cmath>
#include <cstdio>
#include <string>

#include "document/undo.h"
#include "formats/six_decimals.h"
#include "tools/polygon_ops.h"
#include "tools/selection.h"
#include "tools/tool_context.h"

namespace {

// The trace of the mapping, four lines per polygon, formatted as printf's
// "view: %d\n" and "U: %lf V: %lf\n" would and written in large blocks.
class MappingTrace {
 public:
  ~MappingTrace() { flush(); }
  void view(int kind) {
    room(32);
    text_ += "view: ";
    char digits[12];
    text_.append(digits, std::to_chars(digits, digits + sizeof digits, kind).ptr);
    text_ += '\n';
  }
  void point(double u, double v) {
    room(2 * kMaxSixDecimalsChars + 16);
    char line[2 * kMaxSixDecimalsChars + 16];
    char* out = line;
    out = append(out, "U: ");
    out = writeSixDecimals(out, u);
    out = append(out, " V: ");
    out = writeSixDecimals(out, v);
    *out++ = '\n';
    text_.append(line, out);
  }

 private:
  static char* append(char* out, const char* part) {
    while (*part) *out++ = *part++;
    return out;
  }
  void room(size_t more) {
    if (text_.size() + more > kBlock) flush();
  }
  void flush() {
    std::fwrite(text_.data(), 1, text_.size(), stdout);
    text_.clear();
  }
  static constexpr size_t kBlock = 1 << 16;
  std::string text_;
};

// Where `value` lies between min and max, 0 when the range is empty.
double fraction(double value, double min, double max) {
  const double extent = max - min;
  if (extent == 0) return 0.0;
  // Halved, a box wider than the largest double has a finite extent.
  if (!std::isfinite(extent)) return (value * 0.5 - min * 0.5) / (max * 0.5 - min * 0.5);
  return (value - min) / extent;
}
}  // namespace

void uvMapSelected(ToolContext& e, Viewport& view) {
  const SelectionBox box = computeSelectionBox(e, SelectionBoxOf::kPolygons);
  takeSnapshot(e.doc);
  const Vec3 lo = box.min, hi = box.max;
  MappingTrace trace;
  for (Polygon* p : e.doc.selectedPolygons) {
    trace.view(view.kind);
    for (int k = 0; k < 3; ++k) {
      Vertex* at = p->vertices[k];
      UvPoint& uv = p->uvs[k];
      switch (view.kind) {
        case kSideView:
          uv.u = fraction(at->x, lo.x, hi.x);
          uv.v = fraction(at->y, lo.y, hi.y);
          break;
        case kFrontView:
          uv.u = fraction(at->z, lo.z, hi.z);
          uv.v = fraction(at->y, lo.y, hi.y);
          break;
        case kTopView:
          uv.u = fraction(at->z, lo.z, hi.z);
          uv.v = fraction(at->x, lo.x, hi.x);
          break;
        default:
          break;
      }
      at->uvMapped = 1;
      uv.mapped = 1;
      trace.point(uv.u, uv.v);
    }
    p->uvMapped = 1;
  }
}
