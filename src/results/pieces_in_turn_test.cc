#include "results/pieces_in_turn.h"

#include <gtest/gtest.h>

#include <atomic>
#include <sstream>
#include <string>
#include <vector>

namespace kvr {
namespace {

// Pieces of very different lengths (an empty one among them) come out whole and in order,
// each filled once, for every count from none to more than the two threads take at once.
TEST(PiecesInTurnTest, PiecesComeOutInOrder) {
  for (int count = 0; count <= 9; ++count) {
    std::vector<std::atomic<int>> fills(static_cast<std::size_t>(count));
    std::ostringstream out;
    write_pieces_in_turn(out, count, [&](int index, std::string* text) {
      ++fills[static_cast<std::size_t>(index)];
      EXPECT_TRUE(text->empty());
      if (index == 3) return;
      text->append(static_cast<std::size_t>((index * 7919) % 5000), static_cast<char>('a' + index));
      *text += '|';
    });
    std::string expected;
    for (int index = 0; index < count; ++index) {
      EXPECT_EQ(fills[static_cast<std::size_t>(index)], 1) << count << " " << index;
      if (index == 3) continue;
      expected.append(static_cast<std::size_t>((index * 7919) % 5000),
                      static_cast<char>('a' + index));
      expected += '|';
    }
    EXPECT_EQ(out.str(), expected) << count;
  }
}

}  // namespace
}  // namespace kvr
