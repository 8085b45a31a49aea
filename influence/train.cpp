// Moving load trains: exact influence lines as piecewise cubics, and the
// extremes of a train over them.

#include "influence/train.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <optional>
#include <string>

#include "engine/arithmetic.h"
#include "engine/errors.h"
#include "influence/train_beam.h"

namespace kalvoro {

namespace {

// The lines and sums are held in doubles: their rounding stays far below what
// the fits themselves carry, and extended precision would cost several times
// as much in the sweeps.
using F = double;

// A cubic c0 + c1 u + c2 u^2 + c3 u^3 in the distance u from the start of its piece.
struct Cubic {
    F c[4] = {0, 0, 0, 0};

    F at(F u) const { return ((c[3] * u + c[2]) * u + c[1]) * u + c[0]; }

    // The same polynomial in v = u - s.
    Cubic shifted(F s) const
    {
        Cubic r;
        r.c[0] = at(s);
        r.c[1] = c[1] + (2 * c[2] + 3 * c[3] * s) * s;
        r.c[2] = c[2] + 3 * c[3] * s;
        r.c[3] = c[3];
        return r;
    }

    F integral(F a, F b) const
    {
        const auto primitive = [this](F u) {
            return (((c[3] / 4 * u + c[2] / 3) * u + c[1] / 2) * u + c[0]) * u;
        };
        return primitive(b) - primitive(a);
    }
};

// The cubic through four points (u[0] = 0), by divided differences.
Cubic fitCubic(const Real (&u)[4], const Real (&y)[4])
{
    Real a[4] = {y[0], y[1], y[2], y[3]};
    for (int level = 1; level < 4; ++level)
        for (int i = 3; i >= level; --i) a[i] = (a[i] - a[i - 1]) / (u[i] - u[i - level]);
    Cubic f;
    f.c[0] = static_cast<F>(a[0]);
    f.c[1] = static_cast<F>(a[1] - a[2] * u[1] + a[3] * u[1] * u[2]);
    f.c[2] = static_cast<F>(a[2] - a[3] * (u[1] + u[2]));
    f.c[3] = static_cast<F>(a[3]);
    return f;
}

// One piece of an influence line over [x0, x1] (model X); x0 == x1 holds the
// line's own value at a point where it jumps.
struct Piece {
    F x0, x1;
    Cubic f;
};

struct Line {
    std::vector<Piece> pieces;  // proper pieces, left to right, joined end to end
    std::vector<Piece> points;  // values at the jumps
    F begin = 0, end = 0;

    // The line's value at x off its jumps: 0 off the beam.
    F at(F x) const
    {
        if (x < begin || x > end) return 0;
        const Piece& p = pieceAt(x);
        return p.f.at(x - p.x0);
    }

    const Piece& pieceAt(F x) const
    {
        auto it =
            std::upper_bound(pieces.begin(), pieces.end(), x, [](F v, const Piece& p) { return v < p.x0; });
        return it == pieces.begin() ? *it : *(it - 1);
    }
};

// At most two points, in increasing order.
struct Points {
    F u[2];
    int count = 0;
    const F* begin() const { return u; }
    const F* end() const { return u + count; }
};

// The real zeros of the derivative of f inside (0, h), in increasing order.
Points criticalPoints(const Cubic& f, F h)
{
    const F a = 3 * f.c[3], b = 2 * f.c[2], c = f.c[1];
    Points r;
    const auto keep = [&](F u) {
        if (u > 0 && u < h) r.u[r.count++] = u;
    };
    // A leading term that cannot move the slope by a relative 1e-12 over the
    // interval is taken as zero: the quadratic formula would only lose digits.
    const F scale = std::fabs(b) * h + std::fabs(c);
    if (std::fabs(a) * h * h <= 1e-12 * scale || a == 0) {
        if (b != 0) keep(-c / b);
    } else {
        const F disc = b * b - 4 * a * c;
        if (disc >= 0) {
            // The stable pair of roots: no cancellation in either.
            const F q = -(b + std::copysign(std::sqrt(disc), b)) / 2;
            keep(q / a);
            if (q != 0) keep(c / q);
        }
    }
    if (r.count == 2 && r.u[1] < r.u[0]) std::swap(r.u[0], r.u[1]);
    return r;
}

struct Best {
    F value;
    F position;
    bool reverse;
};

struct Extremes {
    Best largest{-std::numeric_limits<F>::infinity(), 0, false};
    Best smallest{std::numeric_limits<F>::infinity(), 0, false};

    // Later candidates win only when strictly better, so ties keep the earlier.
    void offer(F value, F position, bool reverse)
    {
        if (value > largest.value) largest = {value, position, reverse};
        if (value < smallest.value) smallest = {value, position, reverse};
    }
};

// The train's positions in one direction, cut where an axle crosses a
// breakpoint of the line: between two cuts every axle stays on one piece (or
// off the beam), and the axles' sum is one cubic in the position.
struct Sweep {
    bool reverse = false;
    std::vector<F> offsets;
    F lo = 0, hi = 0;                // the smallest and largest offset
    std::vector<F> cuts;             // interval b is [cuts[b], cuts[b + 1]]
    std::vector<std::ptrdiff_t> on;  // per interval and axle: its piece, -1 off the beam
    // Per interval: a bound on the magnitude of every value in it, or -1
    // for an interval that no axle of the train stands on.
    std::vector<F> bound;
};

// A bound on |f| over a piece: the sum of its terms' magnitudes at the
// piece's far end, with room for the rounding of positions near its ends.
// A piece too short for that room is never bounded.
F pieceBound(const Piece& p)
{
    const F h = p.x1 - p.x0;
    if (!(h > 1e-6 * (1 + std::fabs(p.x0) + std::fabs(p.x1)))) return std::numeric_limits<F>::infinity();
    const F hb = h * (1 + 1e-9);
    const Cubic& f = p.f;
    return std::fabs(f.c[0]) + (std::fabs(f.c[1]) + (std::fabs(f.c[2]) + std::fabs(f.c[3]) * hb) * hb) * hb;
}

Sweep layout(const Line& line, const Train& t, bool reverse, const std::vector<F>& bounds)
{
    Sweep w;
    w.reverse = reverse;
    const F sign = reverse ? -1 : 1;
    for (const Axle& a : t.axles) w.offsets.push_back(sign * a.a);
    const auto [lo, hi] = std::minmax_element(w.offsets.begin(), w.offsets.end());
    w.lo = *lo;
    w.hi = *hi;

    // Each axle's breakpoints come in order: merged, they are sorted.
    for (const F o : w.offsets) {
        const auto middle = static_cast<std::ptrdiff_t>(w.cuts.size());
        for (const Piece& p : line.pieces) w.cuts.push_back(p.x0 - o);
        w.cuts.push_back(line.end - o);
        std::inplace_merge(w.cuts.begin(), w.cuts.begin() + middle, w.cuts.end());
    }
    w.cuts.erase(std::unique(w.cuts.begin(), w.cuts.end()), w.cuts.end());

    const std::size_t axles = w.offsets.size();
    const std::size_t intervals = w.cuts.empty() ? 0 : w.cuts.size() - 1;
    w.on.assign(intervals * axles, -1);
    w.bound.assign(intervals, -1);
    // The piece under each axle moves only rightwards as the train does.
    std::vector<std::size_t> at(axles, 0);
    for (std::size_t b = 0; b < intervals; ++b) {
        const F t0 = w.cuts[b], t1 = w.cuts[b + 1];
        if (t1 <= line.begin - w.hi || t0 >= line.end - w.lo) continue;
        const F mid = (t0 + t1) / 2;
        F bound = 0;
        bool any = false;
        for (std::size_t i = 0; i < axles; ++i) {
            const F x = mid + w.offsets[i];
            if (x <= line.begin || x >= line.end) continue;
            // The last piece starting at or left of x (Line::pieceAt).
            while (at[i] + 1 < line.pieces.size() && line.pieces[at[i] + 1].x0 <= x) ++at[i];
            w.on[b * axles + i] = static_cast<std::ptrdiff_t>(at[i]);
            bound += std::fabs(t.axles[i].P) * bounds[at[i]];
            any = true;
        }
        if (any) w.bound[b] = bound;
    }
    return w;
}

// The candidates of one interval: its ends and the extremes of its cubic.
void evaluate(const Line& line, const Train& t, const Sweep& w, std::size_t b, Extremes& ex)
{
    const std::size_t axles = w.offsets.size();
    const F t0 = w.cuts[b], t1 = w.cuts[b + 1];
    Cubic sum;
    for (std::size_t i = 0; i < axles; ++i) {
        const std::ptrdiff_t k = w.on[b * axles + i];
        if (k < 0) continue;
        const Piece& p = line.pieces[static_cast<std::size_t>(k)];
        const Cubic s = p.f.shifted(t0 + w.offsets[i] - p.x0);
        for (int c = 0; c < 4; ++c) sum.c[c] += t.axles[i].P * s.c[c];
    }
    const F h = t1 - t0;
    ex.offer(sum.at(0), t0, w.reverse);
    for (const F u : criticalPoints(sum, h)) ex.offer(sum.at(u), t0 + u, w.reverse);
    ex.offer(sum.at(h), t1, w.reverse);
}

// A jump's own value counts only with an axle standing exactly on it.
void offerJumps(const Line& line, const Train& t, const Sweep& w, Extremes& ex)
{
    const std::size_t axles = w.offsets.size();
    for (const Piece& jump : line.points) {
        for (const F o : w.offsets) {
            const F start = jump.x0 - o;
            F value = 0;
            for (std::size_t i = 0; i < axles; ++i)
                value += t.axles[i].P * (w.offsets[i] == o ? jump.f.c[0] : line.at(start + w.offsets[i]));
            ex.offer(value, start, w.reverse);
        }
    }
}

// Whether no value bounded by `bound` can reach the extremes found: then
// its interval can neither hold them nor be the first to reach them.
bool cannotReach(F bound, const Extremes& ex)
{
    if (bound < 0) return true;
    if (bound == 0) return true;  // every value exactly 0, never better than the train off the beam
    const F room = bound * (1 + 1e-6);
    return room < ex.largest.value && room < -ex.smallest.value;
}

// The axles' part of the train over the line, both directions, "->" first.
// Every candidate is offered in the order of the positions, the later
// winning only when strictly better; an interval whose bound keeps it below
// the extremes cannot change them and is passed over. The extremes' values
// come first, from the intervals of the largest bounds on: far from the
// section a long beam's line is all but zero, and most intervals are passed.
Extremes axleExtremes(const Line& line, const Train& t)
{
    std::vector<F> bounds;
    for (const Piece& p : line.pieces) bounds.push_back(pieceBound(p));
    const Sweep sweeps[2] = {layout(line, t, false, bounds), layout(line, t, true, bounds)};

    Extremes values;
    std::vector<std::pair<F, std::size_t>> heap;  // bound, 2 b + direction
    for (int d = 0; d < 2; ++d) {
        values.offer(0, 0, false);
        offerJumps(line, t, sweeps[d], values);
        for (std::size_t b = 0; b < sweeps[d].bound.size(); ++b)
            if (sweeps[d].bound[b] >= 0)
                heap.push_back({sweeps[d].bound[b], 2 * b + static_cast<std::size_t>(d)});
    }
    std::make_heap(heap.begin(), heap.end());
    while (!heap.empty() && !cannotReach(heap.front().first, values)) {
        const std::size_t key = heap.front().second;
        std::pop_heap(heap.begin(), heap.end());
        heap.pop_back();
        evaluate(line, t, sweeps[key % 2], key / 2, values);
    }

    Extremes ex;
    for (const Sweep& w : sweeps) {
        // Entirely off the beam, approached as the last axle leaves its left end.
        ex.offer(0, line.begin - w.hi, w.reverse);
        for (std::size_t b = 0; b < w.bound.size(); ++b)
            if (!cannotReach(w.bound[b], values)) evaluate(line, t, w, b, ex);
        offerJumps(line, t, w, ex);
    }
    return ex;
}

// Integral of the positive (sign +1) and negative parts of f over [0, h].
void addParts(const Cubic& f, F h, F& positive, F& negative)
{
    std::vector<F> cuts{0};
    const Points critical = criticalPoints(f, h);
    std::vector<F> crit(critical.begin(), critical.end());
    crit.push_back(h);
    // f is monotone between critical points: at most one zero in each.
    F a = 0;
    for (const F b : crit) {
        const F fa = f.at(a), fb = f.at(b);
        if ((fa < 0 && fb > 0) || (fa > 0 && fb < 0)) {
            F l = a, r = b;
            for (int i = 0; i < 80; ++i) {
                const F m = (l + r) / 2;
                if (m <= l || m >= r) break;
                if ((f.at(m) < 0) == (fa < 0))
                    l = m;
                else
                    r = m;
            }
            cuts.push_back((l + r) / 2);
        }
        cuts.push_back(b);
        a = b;
    }
    for (std::size_t i = 0; i + 1 < cuts.size(); ++i) {
        const F part = f.integral(cuts[i], cuts[i + 1]);
        if (part > 0)
            positive += part;
        else
            negative += part;
    }
}

// An interval too short for its thirds to be told apart from its ends.
bool tiny(double lo, double hi, double L)
{
    return Real(hi) - lo <= 1e-9L * L;
}

struct SpanGeometry {
    F X0 = 0;  // left node
    F X1 = 0;  // right node
    double L = 0;
};

std::vector<SpanGeometry> geometry(const TrainBeam& beam)
{
    std::vector<SpanGeometry> spans;
    const long K = beam.spanCount();
    for (long k = 1; k <= K; ++k) {
        const double x1 = beam.spanStart(k), x2 = beam.spanEnd(k);
        // A train runs along the beam from left to right: each span must
        // start where the one before it ends or further right.
        if (!(x2 > x1) || (k > 1 && x1 < spans.back().X1))
            throw ArithmeticError("trecho " + std::to_string(k) +
                                  " fora da ordem da esquerda para a direita");
        spans.push_back({x1, x2, beam.spanLength(k)});
    }
    return spans;
}

// The unit-load positions of one span that the fits need: each interval
// between consecutive breakpoints gets its ends and its thirds.
struct SpanSamples {
    std::vector<double> d;

    // The sample nearest x.
    std::size_t index(Real x) const
    {
        const auto it = std::lower_bound(d.begin(), d.end(), static_cast<double>(x));
        std::size_t i = static_cast<std::size_t>(it - d.begin());
        if (i > 0 && (i == d.size() || x - d[i - 1] < d[i] - x)) --i;
        return i;
    }

    // Four samples of [lo, hi] (both among d): its ends and those nearest its thirds.
    std::array<std::size_t, 4> pick(double lo, double hi) const
    {
        const std::size_t a = index(lo), b = index(hi);
        std::size_t p = std::clamp(index(lo + (Real(hi) - lo) / 3), a + 1, b - 2);
        std::size_t q = std::clamp(index(lo + 2 * (Real(hi) - lo) / 3), p + 1, b - 1);
        return {a, p, q, b};
    }
};

struct SectionSpec {
    long n;
    double xs;
};

// The section's influence line (moment or shear) from the samples and the
// start forces of the section's span under each of them.
Line influenceLine(const std::vector<SpanGeometry>& spans, const std::vector<SpanSamples>& samples,
                   const std::vector<std::vector<SpanForces>>& forces, const SectionSpec& s, bool shear)
{
    Line line;
    line.begin = spans.front().X0;
    line.end = spans.back().X0 + spans.back().L;
    const double L = spans[static_cast<std::size_t>(s.n - 1)].L;
    const auto value = [&](std::size_t k, std::size_t i, bool counted) {
        const bool loaded = static_cast<long>(k) + 1 == s.n;
        const double d = samples[k].d[i];
        if (!shear) return Real(UnitLoadMoment(L, loaded, d, forces[k][i], s.xs));
        // The unit load standing on the section counts in the shear from the
        // left piece's side; the span functions leave it out there.
        return Real(UnitLoadShear(L, loaded, d, forces[k][i], s.xs)) +
               (counted && loaded && d == s.xs ? -1 : 0);
    };
    const auto addPiece = [&](std::size_t k, double lo, double hi, bool counted) {
        const SpanSamples& sm = samples[k];
        Piece p{spans[k].X0 + lo, spans[k].X0 + hi, {}};
        if (tiny(lo, hi, spans[k].L)) {
            // Too short to hold four distinct samples: a chord is exact enough.
            const auto a = sm.index(lo), b = sm.index(hi);
            p.f.c[0] = value(k, a, counted);
            if (b != a) p.f.c[1] = (value(k, b, counted) - p.f.c[0]) / (Real(hi) - lo);
        } else {
            const auto idx = sm.pick(lo, hi);
            Real u[4], y[4];
            for (int i = 0; i < 4; ++i) {
                u[i] = Real(sm.d[idx[i]]) - lo;
                y[i] = value(k, idx[i], counted);
            }
            p.f = fitCubic(u, y);
        }
        line.pieces.push_back(p);
    };
    for (std::size_t k = 0; k < spans.size(); ++k) {
        const long span = static_cast<long>(k) + 1;
        if (span != s.n) {
            addPiece(k, 0, spans[k].L, false);
            continue;
        }
        // Left of the section the unit load counts in the shear, right of it not.
        if (s.xs > 0) addPiece(k, 0, s.xs, true);
        if (shear) {
            const auto& sm = samples[k];
            const auto at = std::lower_bound(sm.d.begin(), sm.d.end(), s.xs) - sm.d.begin();
            Piece jump{spans[k].X0 + s.xs, spans[k].X0 + s.xs, {}};
            // Just right of the section the load on it counts; at the span's
            // end the shear is the one just left, which leaves it out.
            jump.f.c[0] = value(k, static_cast<std::size_t>(at), s.xs < spans[k].L);
            line.points.push_back(jump);
        }
        if (s.xs < spans[k].L) addPiece(k, s.xs, spans[k].L, false);
    }
    return line;
}

TrainEffect trainEffect(const Line& line, const Train& t, double permanent)
{
    const Extremes ex = axleExtremes(line, t);
    F positive = 0, negative = 0;
    for (const Piece& p : line.pieces) addParts(p.f, p.x1 - p.x0, positive, negative);
    TrainEffect r;
    r.permanent = permanent;
    const auto finish = [&](const Best& b, F uniform) {
        TrainExtreme e;
        e.effect = store(Real(b.value) + Real(t.q) * uniform);
        e.position = store(b.position);
        e.reverse = b.reverse;
        e.total = store(Real(permanent) + e.effect);
        return e;
    };
    r.largest = finish(ex.largest, positive);
    r.smallest = finish(ex.smallest, negative);
    return r;
}

std::vector<TrainSection> compute(TrainBeam& beam, const Train& t, const std::vector<SectionSpec>& sections,
                                  const std::atomic<bool>* stop = nullptr)
{
    if (t.axles.empty()) throw IndexError("trem-tipo sem eixos");
    const std::vector<SpanGeometry> spans = geometry(beam);
    if (spans.empty()) throw IndexError("viga sem trechos");

    std::vector<TrainSection> out;
    for (const SectionSpec& s : sections) {
        TrainSection r;
        r.n = s.n;
        r.xs = s.xs;
        const SectionValues p = beam.permanent(s.n, s.xs);
        r.moment.permanent = p.M;
        r.shear.permanent = p.V;
        out.push_back(r);
    }

    std::vector<SpanSamples> samples(spans.size());
    std::vector<std::vector<double>> positions;
    for (std::size_t k = 0; k < spans.size(); ++k) {
        std::vector<double> cuts{0, spans[k].L};
        for (const SectionSpec& s : sections)
            if (s.n == static_cast<long>(k) + 1) cuts.push_back(s.xs);
        std::sort(cuts.begin(), cuts.end());
        cuts.erase(std::unique(cuts.begin(), cuts.end()), cuts.end());
        SpanSamples& sm = samples[k];
        for (std::size_t i = 0; i + 1 < cuts.size(); ++i) {
            const Real a = cuts[i], h = Real(cuts[i + 1]) - a;
            sm.d.push_back(cuts[i]);
            if (tiny(cuts[i], cuts[i + 1], spans[k].L)) continue;
            sm.d.push_back(store(a + h / 3));
            sm.d.push_back(store(a + 2 * h / 3));
        }
        sm.d.push_back(cuts.back());
        positions.push_back(sm.d);
    }
    beam.solveUnitLoads(positions);

    // The start forces of one span at a time: sections come span by span, and
    // a long beam keeps only the lines of the span at hand.
    long forcesOf = 0;
    std::vector<std::vector<SpanForces>> forces;
    for (std::size_t i = 0; i < sections.size(); ++i) {
        if (stop && stop->load()) throw TrainStopped();
        if (sections[i].n != forcesOf) {
            forcesOf = sections[i].n;
            forces = beam.startForces(forcesOf);
        }
        const Line moment = influenceLine(spans, samples, forces, sections[i], false);
        const Line shear = influenceLine(spans, samples, forces, sections[i], true);
        out[i].moment = trainEffect(moment, t, out[i].moment.permanent);
        out[i].shear = trainEffect(shear, t, out[i].shear.permanent);
    }
    return out;
}

}  // namespace

double SpanStart(const AnalysisModel& m, long k)
{
    return m.Coord(m.Incidence(m.LoadRowElement(k, 1), 1), 1);
}

TrainSection TrainAtSection(TrainBeam& beam, const Train& t, long n, double xs)
{
    const long K = beam.spanCount();
    if (n < 1 || n > K) throw IndexError("trecho " + std::to_string(n) + " fora de 1.." + std::to_string(K));
    if (!(xs >= 0 && xs <= beam.spanLength(n))) throw IndexError("seção fora do trecho");
    return compute(beam, t, {{n, xs}}).front();
}

std::vector<TrainSection> TrainEnvelope(TrainBeam& beam, const Train& t, const std::atomic<bool>* stop)
{
    std::vector<SectionSpec> sections;
    for (long k = 1; k <= beam.spanCount(); ++k) {
        const double L = beam.spanLength(k);
        // The tenths as the influence-line report computes them, the last
        // being the span's end itself.
        for (int i = 0; i <= 10; ++i) sections.push_back({k, i == 10 ? L : store(Real(L) / 10 * i)});
    }
    return compute(beam, t, sections, stop);
}

TrainSection TrainAtSection(AnalysisModel& m, const Train& t, long n, double xs)
{
    ModelTrainBeam beam(m);
    return TrainAtSection(beam, t, n, xs);
}

std::vector<TrainSection> TrainEnvelope(AnalysisModel& m, const Train& t)
{
    ModelTrainBeam beam(m);
    return TrainEnvelope(beam, t);
}

}  // namespace kalvoro
