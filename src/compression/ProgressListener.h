#pragma once

#include <cstdint>
#include <functional>

namespace penlark {

// Receives the `Progress` event of HuffmanCompression: a percentage from 0 to 100, raised
// synchronously on the caller's thread, and only when it changed.
using ProgressListener = std::function<void(std::int16_t Procent)>;

}  // namespace penlark
