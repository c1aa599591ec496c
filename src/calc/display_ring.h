#pragma once
// The buffers display texts are written into. Nine results can be used together (for
// example as the arguments of one formatted line); the tenth reuses the first buffer.
// Only the user-interface thread formats numbers.
#include <cstddef>

namespace kovra::calc {

inline constexpr int display_ring_size = 9;
inline constexpr std::size_t display_buffer_size = 40;

// The next buffer of the ring (the index counts down 8, 7, ... 0 and wraps to 8), emptied.
char* next_display_buffer();
// Starts the ring again at buffer 8 (tests).
void reset_display_ring();

} // namespace kovra::calc
