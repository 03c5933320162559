#include "model/marks.h"

uint64_t newMarkPass() {
  // Items start with pass 0, which is therefore never handed out.
  static uint64_t last = 0;
  return ++last;
}
