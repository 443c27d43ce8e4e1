#include "driver/table_text.h"

#include "common/fixed_format.h"

namespace kvr {

std::string table_warning_line(const TableWarning& warning) {
  return control_characters_shown(describe(warning));
}

std::string table_refusal_text(const TableRefusal& refusal) {
  return " " + control_characters_shown(describe(refusal));
}

}  // namespace kvr
