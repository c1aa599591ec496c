#include "calc/display_ring.h"

namespace kovra::calc {
namespace {
char buffers[display_ring_size][display_buffer_size];
int index = display_ring_size - 1;
} // namespace

char* next_display_buffer() {
  char* b = buffers[index];
  index = index == 0 ? display_ring_size - 1 : index - 1;
  b[0] = '\0';
  return b;
}

void reset_display_ring() { index = display_ring_size - 1; }

} // namespace kovra::calc
