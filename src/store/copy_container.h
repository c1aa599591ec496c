#pragma once
// Copying one open container into another.
#include <cstdint>
#include <functional>

namespace kovra::store {

// Receives (bytes written, bytes read) after each step; returning false stops the copy.
using copy_progress = std::function<bool(int64_t written, int64_t read)>;

enum copy_result : int { COPY_OK = 0, COPY_FAILED = 1, COPY_STOPPED = 4 };

// A plain copy in 64 KB steps from a direct or plain-image source (the destination ends
// with the source's length); from a compressed image, the compressed form of the image
// written to the destination's file.
int copy_container(int destination, int source, const copy_progress& progress = {});

} // namespace kovra::store
