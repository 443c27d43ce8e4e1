#pragma once

#include <array>
#include <string>

#include "formats/column_view.h"
#include "formats/decade_format.h"
#include "formats/read_report.h"

namespace kvr {

/// One reading of a measurement record's id and year.
struct IdAndYear {
  std::string id;    // the id's columns, blank padded to 8 characters
  int id_width = 8;  // id columns compared with other records: 8, 7 or 6
  int year = 0;
};

/// How the value fields of a record were read.
enum class ValueAlignment {
  kColumns,  // right-aligned in their fields, read from the columns
  kSplit,    // shifted in their fields: read by splitting at blanks from the year on
  kUnsplit,  // not right-aligned, and splitting does not give the record's slots: read from
             // the columns as they stand
};

/// A measurement record ("mr"), 80 columns:
///   variant A: 1-8 id, 9-12 year;  B (minus in column 8): 1-7 id, 8-12 year;
///   C (minus in column 7): 1-6 id, 7-12 year;
///   all variants: ten values of width 6 in columns 13-72.
struct MeasurementRecord {
  /// The variant the minus sign chooses; read as A (8 + 4) when its year field is no number.
  IdAndYear reading;
  bool read_as_a = false;
  /// For variant B or C: the 8 + 4 reading, when columns 9-12 also read as a year.
  bool has_alternative = false;
  IdAndYear alternative;

  std::array<int, 10> values{};
  unsigned bad_fields = 0;    // bit k set: field k + 1 is no number (its value reads 0)
  unsigned blank_fields = 0;  // bit k set: field k + 1 is blank (its value reads 0)
  // Bit k set: field k + 1 holds "NaN", "NA" or "." (its value reads 0), a missing value.
  unsigned not_a_number_fields = 0;
  unsigned not_a_number_forms = 0;  // the forms met: kNaNForm | kNAForm | kDotForm
  ValueAlignment alignment = ValueAlignment::kColumns;
  // kUnsplit: bit k set when field k + 1 reads 999 or -9999 only as a piece of a number cut
  // across fields: a missing value, no end marker.
  unsigned cut_markers = 0;
  // An end marker (999 or -9999) after the tenth value, where a record has no field: columns
  // 73-78 with 79-80 blank, or an eleventh number of the split reading; 0 when there is none.
  int eleventh_marker = 0;
  bool right_aligned = true;   // every value field right-aligned (or blank)
  bool by_characters = false;  // a multi-byte UTF-8 character moved the columns
  int line_number = 0;         // set by the caller
  std::string text;            // the line's 80 columns, kept when a field is no number
};

enum class LineKind {
  kSkip,    // columns 9-12 blank: neither data nor text
  kRecord,  // a measurement record (possibly with fields that are no number)
  kText,    // the id and year do not read: a text record
};

/// Reads the line in `view` as a measurement record. Fields are read with blanks ignored, as
/// formatted input does, and a field of only "NaN", "NA" (any case) or "." is a missing value;
/// a record whose numbers cross its fields is read by splitting at blanks when that gives one
/// integer of at most six characters (or "NaN", "NA", ".") for each of its slots (or fewer,
/// the last an end marker), and then its fixed columns count for nothing.
LineKind read_measurement_record(const ColumnView& view, MeasurementRecord* r);

/// True when field k + 1 of `r` reads 999 or -9999 and is no piece of a number cut across
/// fields.
inline bool is_end_marker(const MeasurementRecord& r, int k) {
  const int v = r.values[static_cast<std::size_t>(k)];
  return (v == kEndMarker || v == kEndMarkerThousandths) && (r.cut_markers & (1u << k)) == 0;
}

/// Number of fields of `bad_fields`.
int bad_field_count(unsigned bad_fields);

/// True when two readings name the same series: their ids agree on the columns both
/// variants hold (characters, for ids in UTF-8 read by characters).
bool same_series_id(const IdAndYear& a, const IdAndYear& b);

}  // namespace kvr
