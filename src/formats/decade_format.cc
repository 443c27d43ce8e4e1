#include "formats/decade_format.h"

namespace kvr {

int first_record_values(int year) {
  const int rest = year % 10;  // keeps the sign of the year
  if (year >= 0) return 10 - rest;
  return rest == 0 ? 10 : -rest;
}

}  // namespace kvr
