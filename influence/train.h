#pragma once
// Moving load trains: the largest and smallest moment and shear that a train
// (axle loads at fixed spacings plus a uniform load placed wherever it does
// harm) can cause at a section, and the same at the tenths of every span.
//
// For a section (span n, abscissa xs from its left node) with influence line
// eta(x) for a downward unit load at x, the train's effects are
//   largest  = max over t, direction of  sum P_i eta(t + o_i) + q * integral of eta+
//   smallest = min over t, direction of  sum P_i eta(t + o_i) + q * integral of eta-
// with o_i = a_i travelling "->" and -a_i travelling "<-" (the train mirrored),
// t being the X of the first axle. An axle off the beam counts for nothing, so
// the largest is never below zero and the smallest never above it. The shear
// is the one just right of the section (just left when xs = L).
//
// The line is a cubic in x between its breakpoints (the nodes and the
// section), so each piece is fitted exactly through four complete unit-load
// solutions, and the sum over the axles is again a cubic between the
// positions where an axle crosses a breakpoint: its extremes are found from
// the ends of those intervals and the zeros of its derivative, never from a
// grid. At a jump of the line (the shear at its section, the ends of a
// cantilever) the larger side counts, the extreme being approached there.

#include <atomic>
#include <vector>

#include "data/train_file.h"
#include "engine/analysis_model.h"
#include "engine/errors.h"

namespace kalvoro {

// One extreme of the train: its effect, where the first axle stands (model X)
// and in which direction the train travels.
struct TrainExtreme {
    double effect = 0;
    double position = 0;
    bool reverse = false;  // "<-": the axles at t - a_i
    double total = 0;      // permanent + effect
};

struct TrainEffect {
    double permanent = 0;  // the beam's own loads, as the results report has them
    TrainExtreme largest, smallest;
};

struct TrainSection {
    long n = 0;     // span
    double xs = 0;  // abscissa from the span's left node
    TrainEffect moment, shear;
};

class TrainBeam;

// The train at one section of a beam of either road (train_beam.h). Throws
// IndexError for a span n outside 1..spanCount or an abscissa outside 0..L
// (before anything is solved), ArithmeticError for spans not laid out left to
// right, and whatever a solution throws.
TrainSection TrainAtSection(TrainBeam& beam, const Train& t, long n, double xs);
// The train at the tenths of every span (11 sections a span, both ends
// included, as the influence-line report places its positions). The cost
// grows with the square of the span count: every section's line runs over
// the whole beam. With stop given, a run that sees it set gives up between
// two sections with TrainStopped.
struct TrainStopped : Error {
    TrainStopped() : Error("envoltória interrompida") {}
};
std::vector<TrainSection> TrainEnvelope(TrainBeam& beam, const Train& t,
                                        const std::atomic<bool>* stop = nullptr);

// The train at one section. The model must hold the user's analysed beam and
// ends holding it again. Throws IndexError for a span n outside
// 1..LoadRowCount[1] or an abscissa outside 0..L (before anything is solved),
// ArithmeticError for spans not laid out left to right, and whatever a solution
// throws.
TrainSection TrainAtSection(AnalysisModel& m, const Train& t, long n, double xs);

// The train at the tenths of every span (11 sections a span, both ends
// included, as the influence-line report places its positions).
std::vector<TrainSection> TrainEnvelope(AnalysisModel& m, const Train& t);

// X of the left node of load row k's span.
double SpanStart(const AnalysisModel& m, long k);

}  // namespace kalvoro
