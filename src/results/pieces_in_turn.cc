#include "results/pieces_in_turn.h"

#include <condition_variable>
#include <mutex>
#include <ostream>

#include "common/parallel.h"

namespace kvr {
namespace {

// Fewer pieces than this are written in order on the calling thread: the file is short, and
// starting a thread would cost more than the overlap saves.
constexpr int kPiecesWorthAThread = 4;

}  // namespace

void write_pieces_in_turn(std::ostream& out, int count,
                          const std::function<void(int index, std::string* text)>& fill) {
  if (count < kPiecesWorthAThread) {  // a short file: no second thread
    std::string text;
    for (int piece = 0; piece < count; ++piece) {
      text.clear();
      fill(piece, &text);
      out << text;
    }
    return;
  }
  std::mutex mutex;
  std::condition_variable turn;
  int written = 0;  // pieces written so far; guarded by mutex
  auto take_every_other = [&](int first) {
    std::string text;
    for (int piece = first; piece < count; piece += 2) {
      text.clear();
      fill(piece, &text);
      {
        std::unique_lock lock(mutex);
        turn.wait(lock, [&] { return written == piece; });
      }
      // The other thread waits for the count to pass this piece, so the stream is this one's.
      out << text;
      {
        const std::lock_guard lock(mutex);
        ++written;
      }
      turn.notify_one();
    }
  };
  run_together([&] { take_every_other(0); }, [&] { take_every_other(1); });
}

}  // namespace kvr
