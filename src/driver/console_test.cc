#include "driver/console.h"

#include <gtest/gtest.h>

#include <sstream>

namespace kvr {
namespace {

TEST(ConsoleTest, Placeholder) { SUCCEED(); }

}  // namespace
}  // namespace kvr
