#include "driver/run.h"

namespace kvr {

int run_analysis(Console& console, Plotter& /*plotter*/, FileSystem& /*files*/,
                 EnvSetter /*set_env*/) {
  console.line(" Welcome to KVR");
  return kExitNormal;
}

}  // namespace kvr
