#pragma once
// What the tables must hold before the beam is written: the data file reader
// takes its numbers as blank-separated tokens, so a cell holding "25 000 000"
// or "-1 -5" would be read as several numbers, shifting every field after it.
// The check runs before anything is written or calculated.

#include <string>

#include "data/table_model.h"

namespace kalvoro {

// Every count field the user types holds the number of rows shown; every cell
// the user edits holds exactly one number of its column's kind: lengths above
// zero; section and material numbers that the section and material tables
// hold; support codes 00, 01, 10 or 11; loads on an existing span with d from
// 0 to that span's length; E, I, q and P any real; in the supports' columns
// after the code, springs above zero in a direction the code leaves free,
// settlements in a direction it restrains, "sim" for a hinge at an interior
// node whose rotation is free and has no spring. Returns "" when all is
// well, otherwise the message for the first fault, naming the tab, the row,
// the column and the text (cut to a readable length).
std::string firstTableError(const TableModel& tables);

}  // namespace kalvoro
