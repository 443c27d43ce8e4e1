#include "results/pieces_in_turn.h"

#include <condition_variable>
#include <mutex>
#include <ostream>

#include "common/parallel.h"

namespace kvr {

void write_pieces_in_turn(std::ostream& out, int count,
                          const std::function<void(int index, std::string* text)>& fill) {
  if (count == 1) {  // nothing to overlap: no second thread
    std::string text;
    fill(0, &text);
    out << text;
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
