#pragma once
// The load rows during an influence-line command, private to this folder.
//
// Every unit-load position starts from a table of load rows that is zero in
// every row, component and load case except the unit load, and the user's rows
// come back afterwards. Clearing the whole table (400 rows x 3 x 25 load cases,
// 240 KB) at each of the thousands of positions of one command costs more than
// the solutions themselves, so a command keeps track of what the table holds:
//
// - load cases 2 and above are zero once the table has been cleared in full,
//   and nothing but this class writes load rows while a command runs, so the
//   first clear of a command is a full one and the later ones leave them be;
// - of load case 1 only the rows listed as touched can hold anything but +0.0
//   (the user's rows with any bit set, -0.0 included, or the unit load's row),
//   so clearing or restoring those rows leaves the table bit for bit as the
//   full clear or the full copy would.
//
// The model must not be changed by anyone else while a session lives.

#include <cstddef>
#include <vector>

#include "engine/analysis_model.h"

namespace kalvoro {

// Moment M and shear V at abscissa x of load row n's span for the solution
// the model holds, with row n's own load as the load rows hold it: the span
// functions with a uniform load of 0 and the start forces of element n. False,
// with M and V left as they were, when they cannot be evaluated.
bool SectionForces(const AnalysisModel& m, long n, double x, double& M, double& V);

class UnitLoadSession {
public:
    // Keeps the load-case-1 values of all 400 rows as they stand (the user's).
    explicit UnitLoadSession(AnalysisModel& m);
    UnitLoadSession(const UnitLoadSession&) = delete;
    UnitLoadSession& operator=(const UnitLoadSession&) = delete;

    // Every row, component and load case zero.
    void clearRows();
    // P = -1 at distance d on row k, q = 0; the rest of the table as clearRows
    // left it.
    void setUnitLoad(long k, double d);
    // The user's load-case-1 rows back; cannot fail.
    void restoreUserRows() noexcept;

    // One position, as Li: the table is put back as it was before the call,
    // whether the position is solved or not.
    bool li(long k, long n, double d, double x, double& M, double& V);

private:
    struct Row {
        long row;
        double q, P, d;
    };
    // What load case 1 holds beyond +0.0: the user's rows or one unit-load row.
    struct Contents {
        bool user;
        Row unit;
    };

    void zeroTouchedRows() noexcept;
    void write(const Contents& c) noexcept;

    AnalysisModel& m_;
    std::vector<Row> user_;
    Contents now_{true, {}};
    bool othersZero_ = false;
};

}  // namespace kalvoro
