// The train's extremes against an independent dense sweep: every ordinate a
// complete solution of the beam, train positions 1 mm apart, and besides them
// every position that puts an axle on a breakpoint of the line (the nodes, the
// section, the beam's ends), where both sides of a jump are taken. The sweep
// shares nothing with the fitted cubics but the engine and the span functions.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <random>

#include "data/train_file.h"
#include "engine/engine.h"
#include "engine/errors.h"
#include "engine/section_forces.h"
#include "influence/influence.h"
#include "influence/train.h"
#include "influence/train_solver.h"
#include "test_beams.h"

namespace kalvoro {
namespace {

using namespace kalvoro::testing;

constexpr double Step = 0.001;  // 1 mm; the trains' spacings are whole millimetres

struct EndForces {
    std::vector<double> V0, M0;
};

// Ordinates by full solutions, for a unit load at a span and distance.
class Sweep {
public:
    explicit Sweep(AnalysisModel& m) : m_(m), K_(m.LoadRowCount[1])
    {
        for (long k = 1; k <= K_; ++k) {
            X0_.push_back(m.Coord(m.Incidence(m.LoadRowElement(k, 1), 1), 1));
            L_.push_back(std::fabs(m.Coord(m.Incidence(m.LoadRowElement(k, 1), 2), 1) - X0_.back()));
            for (long c = 1; c <= 3; ++c) rows_.push_back(m.LoadRowValue(k, c, 1));
        }
        begin_ = X0_.front();
        end_ = X0_.back() + L_.back();
        gridCount_ = static_cast<long>(std::floor((end_ - begin_) / Step));
        for (long i = 0; i <= gridCount_; ++i) grid_.push_back(solveAtX(begin_ + i * Step));
    }

    ~Sweep()
    {
        for (long k = 1; k <= K_; ++k)
            for (long c = 1; c <= 3; ++c)
                m_.LoadRowValue(k, c, 1) = rows_[static_cast<std::size_t>((k - 1) * 3 + c - 1)];
        NovaCarga(m_);
        SolveBeam(m_);
    }

    // The reference extremes of the train at the section (effects only).
    TrainSection extremes(const Train& t, long n, double xs)
    {
        TrainSection r;
        r.n = n;
        r.xs = xs;
        for (const bool shear : {false, true}) {
            TrainEffect& e = shear ? r.shear : r.moment;
            e.largest.effect = 0;  // the train entirely off the beam
            e.smallest.effect = 0;
            for (const int dir : {1, -1}) sweep(t, n, xs, shear, dir, e);
            double positive = 0, negative = 0;
            integrate(n, xs, shear, positive, negative);
            e.largest.effect += t.q * positive;
            e.smallest.effect += t.q * negative;
        }
        return r;
    }

private:
    // Values of the line at one point: just left, at it, just right.
    struct Sides {
        double minus, at, plus;
    };

    EndForces solve(long k, double d)
    {
        for (long r = 1; r <= K_; ++r)
            for (long c = 1; c <= 3; ++c) m_.LoadRowValue(r, c, 1) = 0;
        m_.LoadRowValue(k, 2, 1) = -1;
        m_.LoadRowValue(k, 3, 1) = d;
        NovaCarga(m_);
        SolveBeam(m_);
        EndForces f;
        for (long e = 1; e <= K_; ++e) {
            f.V0.push_back(m_.ElementStartShear[e]);
            f.M0.push_back(m_.ElementStartMoment[e]);
        }
        return f;
    }

    std::pair<long, double> local(double x) const
    {
        long k = 1;
        while (k < K_ && X0_[static_cast<std::size_t>(k)] <= x) ++k;
        const auto i = static_cast<std::size_t>(k - 1);
        return {k, std::clamp(x - X0_[i], 0.0, L_[i])};
    }

    EndForces solveAtX(double x)
    {
        const auto [k, d] = local(x);
        return solve(k, d);
    }

    const EndForces& cached(double x)
    {
        auto it = extra_.find(x);
        if (it == extra_.end()) it = extra_.emplace(x, solveAtX(x)).first;
        return it->second;
    }

    // The section's ordinate for the unit load at (k, d), as the span
    // functions give it (the load on the section itself left out of the shear).
    double ordinate(const EndForces& f, long k, double d, long n, double xs, bool shear) const
    {
        const auto i = static_cast<std::size_t>(n - 1);
        const double P = k == n ? -1 : 0, dn = k == n ? d : 0;
        return shear ? CortanteSecao(xs, 0, P, dn, L_[i], f.V0[i], f.M0[i])
                     : MomentoSecao(xs, 0, P, dn, L_[i], f.V0[i], f.M0[i]);
    }

    double atX(double x, long n, double xs, bool shear)
    {
        if (x < begin_ || x > end_) return 0;
        const auto [k, d] = local(x);
        return ordinate(cached(x), k, d, n, xs, shear);
    }

    // The three sides at a breakpoint: the section (where the shear jumps by
    // the unit load) or an end of the beam (off it the line is zero).
    Sides sidesAt(int which, long n, double xs, bool shear)
    {
        if (which == 0) {
            const double v = ordinate(solve(n, xs), n, xs, n, xs, shear);
            if (!shear) return {v, v, v};
            // Just right of the section the load on it counts; at the span's
            // end the shear is the one just left, which leaves it out.
            return {v - 1, xs < L_[static_cast<std::size_t>(n - 1)] ? v - 1 : v, v};
        }
        const bool left = which == 1;
        const double v = ordinate(solve(left ? 1 : K_, left ? 0 : L_.back()), left ? 1 : K_,
                                  left ? 0 : L_.back(), n, xs, shear);
        return left ? Sides{0, v, v} : Sides{v, v, 0};
    }

    void offer(TrainEffect& e, double v)
    {
        e.largest.effect = std::max(e.largest.effect, v);
        e.smallest.effect = std::min(e.smallest.effect, v);
    }

    void sweep(const Train& t, long n, double xs, bool shear, int dir, TrainEffect& e)
    {
        std::vector<double> eta;
        for (const EndForces& f : grid_) {
            const auto [k, d] = local(begin_ + static_cast<double>(&f - grid_.data()) * Step);
            eta.push_back(ordinate(f, k, d, n, xs, shear));
        }
        std::vector<long> mm;
        for (const Axle& a : t.axles) mm.push_back(dir * std::lround(a.a / Step));
        const long lo = *std::min_element(mm.begin(), mm.end()), hi = *std::max_element(mm.begin(), mm.end());
        for (long first = -hi; first <= gridCount_ - lo; ++first) {
            double sum = 0;
            for (std::size_t j = 0; j < mm.size(); ++j) {
                const long g = first + mm[j];
                if (g >= 0 && g <= gridCount_) sum += t.axles[j].P * eta[static_cast<std::size_t>(g)];
            }
            offer(e, sum);
        }

        // An axle on each breakpoint: the section and the beam's ends with
        // both sides, the nodes (where the line only bends) as they are.
        const double section = X0_[static_cast<std::size_t>(n - 1)] + xs;
        std::vector<std::pair<double, int>> points{{section, 0}, {begin_, 1}, {end_, 2}};
        for (long k = 1; k < K_; ++k) points.push_back({X0_[static_cast<std::size_t>(k)], 3});
        for (const auto& [x, which] : points) {
            const Sides jump = which < 3 ? sidesAt(which, n, xs, shear) : Sides{};
            for (const long oi : mm) {
                const double t0 = x - oi * Step;
                double sums[3] = {0, 0, 0};
                for (std::size_t j = 0; j < mm.size(); ++j) {
                    if (mm[j] == oi && which < 3) {
                        sums[0] += t.axles[j].P * jump.minus;
                        sums[1] += t.axles[j].P * jump.at;
                        sums[2] += t.axles[j].P * jump.plus;
                        continue;
                    }
                    const double v = t.axles[j].P * atX(mm[j] == oi ? x : t0 + mm[j] * Step, n, xs, shear);
                    for (double& s : sums) s += v;
                }
                for (const double s : sums) offer(e, s);
            }
        }
    }

    // Positive and negative parts of the line by the trapezoid rule on the
    // grid and the breakpoints, each segment taking its own side of a jump.
    void integrate(long n, double xs, bool shear, double& positive, double& negative)
    {
        const double section = X0_[static_cast<std::size_t>(n - 1)] + xs;
        std::vector<std::pair<double, Sides>> pts;
        for (long i = 0; i <= gridCount_; ++i) {
            const double x = begin_ + i * Step;
            if (x == section) continue;
            const auto [k, d] = local(x);
            const double v = ordinate(grid_[static_cast<std::size_t>(i)], k, d, n, xs, shear);
            pts.push_back({x, {v, v, v}});
        }
        for (long k = 1; k < K_; ++k) {
            const double x = X0_[static_cast<std::size_t>(k)];
            if (x == section) continue;
            const double v = atX(x, n, xs, shear);
            pts.push_back({x, {v, v, v}});
        }
        if (end_ != section) {
            const double v = atX(end_, n, xs, shear);
            pts.push_back({end_, {v, v, v}});
        }
        pts.push_back({section, sidesAt(0, n, xs, shear)});
        std::sort(pts.begin(), pts.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
        for (std::size_t i = 0; i + 1 < pts.size(); ++i) {
            const double h = pts[i + 1].first - pts[i].first;
            const double a = pts[i].second.plus, b = pts[i + 1].second.minus;
            if ((a >= 0) == (b >= 0)) {
                (a >= 0 ? positive : negative) += (a + b) / 2 * h;
            } else {
                const double z = a / (a - b) * h;  // where the chord crosses zero
                (a >= 0 ? positive : negative) += a / 2 * z;
                (b >= 0 ? positive : negative) += b / 2 * (h - z);
            }
        }
    }

    AnalysisModel& m_;
    long K_;
    std::vector<double> X0_, L_, rows_;
    double begin_ = 0, end_ = 0;
    long gridCount_ = 0;
    std::vector<EndForces> grid_;
    std::map<double, EndForces> extra_;
};

// The four effects of every section, to 0.05 % of each column's largest
// magnitude; the true extreme is never short of a sampled one (beyond what
// the trapezoid rule may add to the uniform load's part).
void expectAgree(const std::vector<TrainSection>& got, const std::vector<TrainSection>& ref)
{
    using Get = double (*)(const TrainSection&);
    const Get columns[] = {
        [](const TrainSection& s) { return s.moment.largest.effect; },
        [](const TrainSection& s) { return s.moment.smallest.effect; },
        [](const TrainSection& s) { return s.shear.largest.effect; },
        [](const TrainSection& s) { return s.shear.smallest.effect; },
    };
    // A column that is zero everywhere but for rounding is measured against
    // the others.
    double overall = 0;
    for (const Get column : columns)
        for (const TrainSection& r : ref) overall = std::max(overall, std::fabs(column(r)));
    for (int c = 0; c < 4; ++c) {
        double scale = 1e-6 * overall;
        for (const TrainSection& r : ref) scale = std::max(scale, std::fabs(columns[c](r)));
        for (std::size_t i = 0; i < ref.size(); ++i) {
            SCOPED_TRACE(::testing::Message()
                         << "column " << c << " span " << ref[i].n << " x " << ref[i].xs);
            const double a = columns[c](got[i]), b = columns[c](ref[i]);
            EXPECT_NEAR(a, b, 5e-4 * scale);
            // Largest columns are even, smallest odd.
            if (c % 2 == 0)
                EXPECT_GE(a, b - 1e-6 * scale);
            else
                EXPECT_LE(a, b + 1e-6 * scale);
        }
    }
}

// A few sections of the envelope and one section of its own on every beam.
void checkBeam(AnalysisModel& m, const Train& t, const std::vector<std::size_t>& envelopeRows, long n,
               double xs)
{
    const std::vector<TrainSection> envelope = TrainEnvelope(m, t);
    std::vector<TrainSection> got;
    for (const std::size_t i : envelopeRows) got.push_back(envelope.at(i));
    got.push_back(TrainAtSection(m, t, n, xs));
    std::vector<TrainSection> ref;
    {
        Sweep sweep(m);
        for (const TrainSection& s : got) ref.push_back(sweep.extremes(t, s.n, s.xs));
    }
    expectAgree(got, ref);
}

Train exampleTrain()
{
    const TrainRead r = LeTrem(std::string(KALVORO_EXAMPLES) + "/tb450-simplificado.trem");
    EXPECT_EQ(r.status, 0) << r.message;
    return r.train;
}

TEST(TrainReference, Examples)
{
    struct Example {
        const char* file;
        std::vector<std::size_t> rows;
        long n;
        double xs;
    };
    const Example examples[] = {
        {"dois-trechos.vig", {0, 4, 10, 11, 16}, 2, 0.37},
        {"tres-trechos.vig", {3, 10, 12, 21, 32}, 2, 1.5},
        {"vinte-e-quatro-trechos.vig", {0, 5, 10, 130, 263}, 13, 1.1},
    };
    const Train t = exampleTrain();
    for (const Example& e : examples) {
        SCOPED_TRACE(e.file);
        auto m = std::make_unique<AnalysisModel>();
        ASSERT_EQ(Abrir(std::string(KALVORO_EXAMPLES) + "/" + e.file, *m, {}).status, 0);
        SolveBeam(*m);
        checkBeam(*m, t, e.rows, e.n, e.xs);
    }
}

// Short and long spans, cantilevers, fixed ends, coincident axles and trains
// longer than the beam.
TEST(TrainReference, RandomBeams)
{
    std::mt19937 rng(20261208);
    const auto uniform = [&](double a, double b) {
        return std::uniform_real_distribution<double>(a, b)(rng);
    };
    const auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };
    const auto text = [](double v) { return std::to_string(std::round(v * 1e4) / 1e4); };
    int beams = 0;
    while (beams < 50) {
        const int K = 1 + pick(4);
        std::vector<std::string> x{"0"}, codes;
        std::vector<LoadRow> loads;
        double X = 0;
        for (int k = 0; k < K; ++k) {
            X += uniform(0.3, 2.5);
            x.push_back(text(X));
            loads.push_back({text(-uniform(0, 5)), text(-uniform(0, 20)), "0"});
        }
        const char* kinds[] = {"10", "11", "00", "10"};
        for (int i = 0; i <= K; ++i) codes.push_back(kinds[pick(4)]);
        auto m = std::make_unique<AnalysisModel>();
        if (AbrirTexto(utf8ToCp1252(beamFile(x, codes, loads)), *m, {}).status != 0) continue;
        try {
            SolveBeam(*m);
        } catch (const Error&) {
            continue;  // a mechanism: draw another beam
        }
        ++beams;
        Train t{"aleatório", pick(3) == 0 ? 0 : uniform(0, 10), {}};
        long a = 0;
        for (int i = 1 + pick(4); i > 0; --i) {
            t.axles.push_back({uniform(10, 100), a * Step});
            a += pick(3) == 0 ? 0 : 1 + pick(3000);
        }
        const long n = 1 + pick(K);
        const double L = SpanLength(*m, n);
        const double xs = pick(4) == 0 ? (pick(2) ? 0 : L) : std::round(uniform(0, L) * 1e4) / 1e4;
        const auto row = [&] { return static_cast<std::size_t>(pick(11 * K)); };
        SCOPED_TRACE(::testing::Message() << "beam " << beams << ": " << K << " spans, codes "
                                          << codes.front() << ".." << codes.back());
        checkBeam(*m, t, {row(), row()}, n, std::min(xs, L));
    }
}

}  // namespace
}  // namespace kalvoro
