#pragma once

#include <functional>
#include <iosfwd>
#include <string>

namespace kvr {

/// Writes the texts of pieces 0..count-1 to `out`, in order: fill(index, text) appends piece
/// `index` to an empty *text. Two threads each fill every other piece and write it as soon as the
/// piece before it is written, so that one writes while the other formats: a long file costs about
/// its formatting on both cores or its writing, whichever is more, rather than their sum. Only two
/// pieces are held at a time.
void write_pieces_in_turn(std::ostream& out, int count,
                          const std::function<void(int index, std::string* text)>& fill);

}  // namespace kvr
