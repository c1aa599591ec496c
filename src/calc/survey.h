#pragma once
// Quantity surveys: loading and saving the record, evaluating the lines with one
// interpreter, the total, and writing the total into the survey's owner.
#include "calc/survey_line.h"
#include "calc/survey_record.h"
#include "store/block_header.h"

#include <cstdint>
#include <functional>
#include <vector>

namespace kovra::calc {

// Where survey records live (the document's survey chain). The document layer binds it;
// tests use an in-memory one.
class survey_record_store {
public:
  virtual ~survey_record_store() = default;
  // The record's bytes; false when it cannot be read.
  virtual bool read_record(store::rec_pos position, std::vector<uint8_t>& bytes) = 0;
  // Replaces the record; returns its position afterwards (it may move), −1 on failure.
  virtual store::rec_pos rewrite_record(store::rec_pos position, const std::vector<uint8_t>& bytes) = 0;
  // Adds a record; returns its position, −1 on failure.
  virtual store::rec_pos insert_record(const std::vector<uint8_t>& bytes) = 0;
  virtual bool delete_record(store::rec_pos position) = 0;
};

enum class survey_io_error { none, bad_position, read_failed, bad_record, write_failed };

const char* survey_io_error_text(survey_io_error error);

struct survey_load_result {
  survey_io_error error = survey_io_error::none;
  survey_record_status record;  // what was wrong with the record (bad_record)
  survey_lines lines;
  bool ok() const { return error == survey_io_error::none; }
};

struct survey_save_result {
  survey_io_error error = survey_io_error::none;
  survey_record_status record;         // why the lines could not be stored (bad_record)
  store::rec_pos position = -1;        // the survey's position afterwards (unchanged on failure)
  bool ok() const { return error == survey_io_error::none; }
};

// The lines of the record at position; no lines for −1.
survey_load_result load_survey(survey_record_store& doc, store::rec_pos position);

// Stores the lines (without the window's empty typing line): rewrites the record at
// position, inserts a new one for −1, or deletes it when no lines are left (position −1).
survey_save_result save_survey(survey_record_store& doc, const survey_lines& lines, store::rec_pos position);

// Evaluates the computed lines in order with one interpreter, so variables assigned in one
// line are known in the following ones; stops at the first line that fails. Returns 0 when
// all succeeded, else the failing line's number (from 1), negative when the user chose
// Retry to correct it. A line failing for the first time is reported through the message
// sink with Retry/Cancel: Retry leaves it unmarked, Cancel marks it failed.
int evaluate_survey(survey_lines& lines);

// Sum of the lines that are neither comments nor failed, each kept to six decimals.
double survey_total(const survey_lines& lines);

enum class survey_owner_kind {
  element,   // an element with its own quantity (node kind 0)
  position,  // a position with inputs or a simplified position (kinds 1, 2, 4, 5)
  one_off,   // one-off equipment costs (kind 3): whole numbers
};

struct survey_owner {
  survey_owner_kind kind = survey_owner_kind::position;
  int precision_code = 0;
  double quantity = 0.0;             // the quantity (or the count of a one-off cost)
  store::rec_pos survey_position = -1;
};

// The precision a survey of this owner is totalled to (one-off costs: 3, whole numbers).
int survey_precision(const survey_owner& owner, int chosen_code);

struct survey_apply_result {
  int evaluation = 0;   // as evaluate_survey
  bool applied = false; // false when the user chose to correct a line first
  double total = 0.0;
  survey_save_result save;
};

// After a survey changed: evaluate, total, write round_by_code(total, code) and the code
// into the owner, save the survey and refresh the position's views. Nothing is written
// when the user chose Retry to correct a failing line.
survey_apply_result apply_survey(survey_record_store& doc, survey_owner& owner, survey_lines& lines,
                                 int chosen_code, const std::function<void()>& refresh_views = {});

} // namespace kovra::calc
