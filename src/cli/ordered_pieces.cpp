#include "cli/ordered_pieces.h"

#include <array>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <system_error>
#include <thread>

namespace {

constexpr int NoPiece = -1;

// A buffer a helper thread fills, and the piece it holds once filled.
struct Slot {
    Utf8Buffer buffer;
    int piece = NoPiece;
};

// The pieces of one helper thread go to its two slots in turn.
struct Helper {
    std::array<Slot, 2> pair;
};

Slot &SlotOf(Helper &helper, int piece, int threadCount)
{
    return helper.pair[std::size_t((piece / threadCount) % 2)];
}

} // namespace

void FillPiecesInOrder(int pieceCount, int threadCount, const std::function<void(int piece, Utf8Buffer &buffer)> &fill,
                       const std::function<void(const Utf8Buffer &buffer)> &consume)
{
    std::mutex mutex;
    std::condition_variable slotChanged;
    // Growing a deque at its end moves none of its slots.
    std::deque<Helper> helpers;
    std::deque<std::thread> threads;
    const auto run = [&](Helper &helper, int thread) {
        for (int piece = thread; piece < pieceCount; piece += threadCount) {
            Slot &slot = SlotOf(helper, piece, threadCount);
            {
                std::unique_lock lock(mutex);
                slotChanged.wait(lock, [&] { return slot.piece == NoPiece; });
            }
            slot.buffer.Clear();
            fill(piece, slot.buffer);
            {
                const std::lock_guard lock(mutex);
                slot.piece = piece;
            }
            slotChanged.notify_all();
        }
    };
    for (int thread = 1; thread < threadCount && thread < pieceCount; ++thread) {
        Helper &helper = helpers.emplace_back();
        try {
            threads.emplace_back(run, std::ref(helper), thread);
        } catch (const std::system_error &) {
            helpers.pop_back();
            break;
        }
    }

    Utf8Buffer own;
    for (int piece = 0; piece < pieceCount; ++piece) {
        const int thread = piece % threadCount;
        if (thread == 0 || thread > int(helpers.size())) {
            own.Clear();
            fill(piece, own);
            consume(own);
            continue;
        }
        Slot &slot = SlotOf(helpers[std::size_t(thread - 1)], piece, threadCount);
        {
            std::unique_lock lock(mutex);
            slotChanged.wait(lock, [&] { return slot.piece == piece; });
        }
        consume(slot.buffer);
        {
            const std::lock_guard lock(mutex);
            slot.piece = NoPiece;
        }
        slotChanged.notify_all();
    }
    for (std::thread &thread : threads)
        thread.join();
}
