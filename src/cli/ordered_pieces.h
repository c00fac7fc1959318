#pragma once

#include "cli/utf8_buffer.h"

#include <functional>

// Fills pieces 0 .. pieceCount − 1 on up to `threadCount` threads, the
// calling one included, and hands them to `consume` on the calling thread in
// piece order. Piece k is filled by thread k mod threadCount; each other
// thread works at most one piece ahead in two buffers it reuses, so memory
// stays bounded and is not touched afresh for every piece (fresh pages cost
// more than the text written into them). Where a thread cannot be started,
// the calling thread fills its pieces itself. `fill` is handed an empty
// buffer and must be safe to call from several threads at once.
void FillPiecesInOrder(int pieceCount, int threadCount, const std::function<void(int piece, Utf8Buffer &buffer)> &fill,
                       const std::function<void(const Utf8Buffer &buffer)> &consume);
