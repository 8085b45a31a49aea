// Springs, settlements, hinges and beams of any length: assembly on the
// beam's own freedoms, exact elimination of the prescribed ones, a band
// L D L^T factor, reactions and the exact section forces of each span.

#include "engine/supported_road.h"

#include <algorithm>
#include <cmath>

#include "engine/arithmetic.h"
#include "engine/errors.h"
#include "engine/text_fields.h"

namespace kalvoro {

namespace {

// Half bandwidth: a span from a hinge node reaches from its vertical freedom
// over the node's two rotations to the next node's rotation.
constexpr std::size_t Band = 4;
constexpr std::size_t Row = Band + 1;

// A pivot that keeps no more than this fraction of its assembled diagonal
// has been eliminated by the freedoms before it: a mechanism (the same
// yardstick as the specified road's solver).
constexpr Real PivotLoss = 1e-12L;

// Term (i, j), j <= i <= j + Band, of a lower band stored row by row.
inline double& term(std::vector<double>& band, std::size_t i, std::size_t j)
{
    return band[i * Row + Band - (i - j)];
}
inline double term(const std::vector<double>& band, std::size_t i, std::size_t j)
{
    return band[i * Row + Band - (i - j)];
}

struct SpanStiffness {
    Real a, b, f;
};
SpanStiffness stiffnessOf(const SupportedSpan& s, Real L)
{
    const Real EI = static_cast<Real>(s.E) * s.I;
    return {12 * EI / (L * L * L), 6 * EI / (L * L), 4 * EI / L};
}

// k u of one span: shear and moment at its start, then at its end, from the
// displacements alone.
std::array<Real, 4> endForces(const SpanStiffness& k, const std::array<Real, 4>& u)
{
    const Real h = k.f / 2;
    return {
        k.a * u[0] + k.b * u[1] - k.a * u[2] + k.b * u[3], k.b * u[0] + k.f * u[1] - k.b * u[2] + h * u[3],
        -k.a * u[0] - k.b * u[1] + k.a * u[2] - k.b * u[3], k.b * u[0] + h * u[1] - k.b * u[2] + k.f * u[3]};
}

}  // namespace

SupportedSystem::SupportedSystem(const SupportedBeam& beam) : beam_(beam)
{
    const std::size_t nodes = beam_.nodes.size();
    if (nodes < 2 || beam_.spans.size() + 1 != nodes) throw IndexError("viga sem trechos");
    for (std::size_t n = 0; n < nodes; ++n) {
        first_.push_back(count_);
        count_ += beam_.nodes[n].extra.hinge ? 3 : 2;
    }
    for (std::size_t i = 0; i + 1 < nodes; ++i)
        lengths_.push_back(store(static_cast<Real>(beam_.nodes[i + 1].x) - beam_.nodes[i].x));

    coupling_.assign(count_ * Row, 0.0);
    for (std::size_t i = 0; i + 1 < nodes; ++i) {
        const Real L = lengths_[i];
        if (!(L > 0)) throw ArithmeticError("divisão por zero");
        const SpanStiffness k = stiffnessOf(beam_.spans[i], L);
        const Real h = k.f / 2;
        const auto d = freedoms(i);
        const Real K[4][4] = {
            {k.a, k.b, -k.a, k.b}, {k.b, k.f, -k.b, h}, {-k.a, -k.b, k.a, -k.b}, {k.b, h, -k.b, k.f}};
        for (int p = 0; p < 4; ++p)
            for (int q = 0; q < 4; ++q)
                if (d[p] >= d[q]) term(coupling_, d[p], d[q]) = store(term(coupling_, d[p], d[q]) + K[p][q]);
    }

    prescribed_.assign(count_, false);
    value_.assign(count_, 0.0);
    for (std::size_t n = 0; n < nodes; ++n) {
        const SupportedNode& node = beam_.nodes[n];
        const std::size_t v = first_[n], r = rotationLeft(n);
        term(coupling_, v, v) += node.extra.springVertical;
        term(coupling_, r, r) += node.extra.springRotation;
        prescribed_[v] = node.support / 10 != 0;
        prescribed_[r] = node.support % 10 != 0;
        value_[v] = node.extra.settlementVertical;
        value_[r] = node.extra.settlementRotation;
    }

    // A prescribed freedom keeps only its diagonal, set to 1: its value is
    // then carried to the other equations by the right-hand side.
    factor_ = coupling_;
    for (std::size_t i = 0; i < count_; ++i)
        for (std::size_t j = i >= Band ? i - Band : 0; j < i; ++j)
            if (prescribed_[i] || prescribed_[j]) term(factor_, i, j) = 0;
    for (std::size_t i = 0; i < count_; ++i)
        if (prescribed_[i]) term(factor_, i, i) = 1;

    for (std::size_t i = 0; i < count_; ++i) {
        const std::size_t low = i >= Band ? i - Band : 0;
        for (std::size_t j = low; j < i; ++j) {
            Real s = term(factor_, i, j);
            for (std::size_t k = std::max(low, j >= Band ? j - Band : 0); k < j; ++k)
                s -= static_cast<Real>(term(factor_, i, k)) * term(factor_, k, k) * term(factor_, j, k);
            term(factor_, i, j) = store(s / term(factor_, j, j));
        }
        const Real assembled = term(factor_, i, i);
        Real d = assembled;
        for (std::size_t k = low; k < i; ++k)
            d -= static_cast<Real>(term(factor_, i, k)) * term(factor_, i, k) * term(factor_, k, k);
        if (!(d > PivotLoss * assembled)) mechanism(i);
        term(factor_, i, i) = store(d);
    }
}

// The motion the failed pivot leaves free, z = L^-T e_pivot over the
// freedoms factored so far; the hinges it opens are named.
void SupportedSystem::mechanism(std::size_t pivot) const
{
    std::vector<Real> z(pivot + 1, 0);
    z[pivot] = 1;
    for (std::size_t i = pivot; i-- > 0;) {
        Real s = 0;
        for (std::size_t k = i + 1; k <= std::min(i + Band, pivot); ++k) s -= term(factor_, k, i) * z[k];
        z[i] = s;
    }
    Real largest = 0;
    for (std::size_t n = 0; n < beam_.nodes.size(); ++n)
        for (const std::size_t r : {rotationLeft(n), rotationRight(n)})
            if (r <= pivot) largest = std::max(largest, std::fabs(z[r]));
    std::string hinges;
    int named = 0;
    for (std::size_t n = 0; n < beam_.nodes.size(); ++n) {
        if (!beam_.nodes[n].extra.hinge || rotationRight(n) > pivot) continue;
        if (std::fabs(z[rotationRight(n)] - z[rotationLeft(n)]) > 1e-6L * largest) {
            hinges += (named ? ", " : "") + std::to_string(n + 1);
            ++named;
        }
    }
    if (named == 0) throw EngineError("divisao por zero");
    throw EngineError(std::string("viga instável: ") +
                      (named == 1 ? "a rótula do nó " : "as rótulas dos nós ") + hinges +
                      (named == 1 ? " forma" : " formam") + " um mecanismo");
}

// L D L^T u = rhs, in place.
void SupportedSystem::substitute(std::vector<Real>& u) const
{
    for (std::size_t i = 0; i < count_; ++i)
        for (std::size_t k = i >= Band ? i - Band : 0; k < i; ++k) u[i] -= term(factor_, i, k) * u[k];
    for (std::size_t i = 0; i < count_; ++i) u[i] /= term(factor_, i, i);
    for (std::size_t i = count_; i-- > 0;)
        for (std::size_t k = i + 1; k <= std::min(i + Band, count_ - 1); ++k)
            u[i] -= term(factor_, k, i) * u[k];
}

std::vector<SupportedSystem::StartForces> SupportedSystem::startForces(
    std::size_t n, const std::vector<std::pair<std::size_t, double>>& positions) const
{
    if (n >= beam_.spans.size()) throw IndexError("trecho " + std::to_string(n + 1) + " fora da viga");
    const SpanStiffness k = stiffnessOf(beam_.spans[n], lengths_[n]);
    const auto d = freedoms(n);
    // Rows 1 and 2 of the span's k: its start shear and moment are
    // row . u = row . K^-1 F = (K^-1 row) . F, K being symmetric.
    const Real rows[2][4] = {{k.a, k.b, -k.a, k.b}, {k.b, k.f, -k.b, k.f / 2}};
    std::vector<Real> z[2];
    for (int r = 0; r < 2; ++r) {
        z[r].assign(count_, 0);
        for (int j = 0; j < 4; ++j)
            if (!prescribed_[d[j]]) z[r][d[j]] += rows[r][j];
        substitute(z[r]);
    }
    std::vector<StartForces> out;
    out.reserve(positions.size());
    for (const auto& [span, a] : positions) {
        if (span >= beam_.spans.size())
            throw IndexError("trecho " + std::to_string(span + 1) + " fora da viga");
        const auto f = EquivalentLoads({LoadKind::Point, -1.0, 0, a, 0}, lengths_[span]);
        const auto e = freedoms(span);
        Real force = 0, moment = 0;
        for (int j = 0; j < 4; ++j) {
            force += z[0][e[j]] * f[j];
            moment += z[1][e[j]] * f[j];
        }
        out.push_back({store(force), store(moment)});
    }
    return out;
}

std::vector<SupportedSystem::Ordinate> SupportedSystem::influence(
    std::size_t n, double xs, const std::vector<std::pair<std::size_t, double>>& positions) const
{
    const std::vector<StartForces> start = startForces(n, positions);
    const Real L = lengths_[n];
    std::vector<Ordinate> out;
    out.reserve(positions.size());
    for (std::size_t i = 0; i < positions.size(); ++i) {
        const auto& [span, a] = positions[i];
        const SpanLoad unit{LoadKind::Point, -1.0, 0, a, 0};
        const SpanCurve c = CurvaDoTrecho(span == n ? std::vector<SpanLoad>{unit} : std::vector<SpanLoad>{},
                                          L, start[i].shear, start[i].moment);
        // The moment is continuous; the shear is constant beside the unit
        // load and jumps by -1 across it. It counts only strictly left of
        // the section in the left-hand shear, and at or left of the section
        // in the right-hand one (a load just right of the section is right of
        // it, however close).
        const Piece* p = &c.pieces.front();
        for (const Piece& q : c.pieces)
            if (q.x0 <= xs) p = &q;
        const bool onSpan = span == n;
        // The first piece holds a load at the span's start.
        const Real first = c.pieces.front().shear(0);
        const Real before = onSpan && !(a > 0) ? first + 1 : first;
        const Real past = onSpan ? before - 1 : before;
        out.push_back({store(onSpan && a < xs ? past : before), store(onSpan && a <= xs ? past : before),
                       store(p->moment(xs - p->x0))});
    }
    return out;
}

SupportedResult SupportedSystem::solve(const BeamLoads& loads) const
{
    return run(loads, true);
}

SupportedResult SupportedSystem::solveLoads(const BeamLoads& loads) const
{
    return run(loads, false);
}

SupportedResult SupportedSystem::run(const BeamLoads& loads, bool settle) const
{
    const std::size_t spans = beam_.spans.size();
    if (loads.size() != spans)
        throw IndexError("cargas de " + std::to_string(loads.size()) + " trechos para " +
                         std::to_string(spans));
    std::vector<Real> F(count_, 0);
    for (std::size_t i = 0; i < spans; ++i) {
        const auto d = freedoms(i);
        for (const SpanLoad& load : loads[i]) {
            const auto f = EquivalentLoads(load, lengths_[i]);
            for (int k = 0; k < 4; ++k) F[d[k]] += f[k];
        }
    }

    std::vector<Real> u(count_, 0);
    for (std::size_t i = 0; i < count_; ++i) u[i] = prescribed_[i] ? (settle ? value_[i] : 0.0) : F[i];
    // The prescribed values' share of the free equations.
    for (std::size_t i = 0; i < count_; ++i)
        for (std::size_t j = i >= Band ? i - Band : 0; j < i; ++j) {
            if (prescribed_[j] && !prescribed_[i]) u[i] -= term(coupling_, i, j) * u[j];
            if (prescribed_[i] && !prescribed_[j]) u[j] -= term(coupling_, i, j) * u[i];
        }
    substitute(u);

    SupportedResult r;
    const std::size_t nodes = beam_.nodes.size();
    // Support forces: K u - F on a prescribed freedom, -k u on a spring.
    std::vector<Real> carried(count_, 0);
    for (std::size_t i = 0; i < spans; ++i) {
        const auto d = freedoms(i);
        const Real L = lengths_[i];
        const auto f = endForces(stiffnessOf(beam_.spans[i], L), {u[d[0]], u[d[1]], u[d[2]], u[d[3]]});
        for (int k = 0; k < 4; ++k) carried[d[k]] += f[k];
        r.startShear.push_back(store(f[0]));
        r.startMoment.push_back(store(f[1]));
        r.curves.push_back(CurvaDoTrecho(loads[i], L, r.startShear.back(), r.startMoment.back()));
    }
    for (std::size_t n = 0; n < nodes; ++n) {
        const NodeSupport& e = beam_.nodes[n].extra;
        const std::size_t v = first_[n], t = rotationLeft(n);
        const auto reaction = [&](std::size_t g, double spring) -> double {
            if (prescribed_[g]) return store(carried[g] - F[g]);
            return spring != 0 ? store(-spring * u[g]) : 0.0;
        };
        r.vertical.push_back(store(u[v]));
        r.rotation.push_back(store(u[t]));
        r.rotationRight.push_back(store(u[rotationRight(n)]));
        r.force.push_back(reaction(v, e.springVertical));
        r.moment.push_back(reaction(t, e.springRotation));
    }
    return r;
}

namespace {

void line(std::string& s, const std::string& text)
{
    s += text;
    s += "\r\n";
}

void spanBlock(std::string& s, const SupportedResult& r, std::array<double, 4> (*figures)(const SpanCurve&))
{
    for (std::size_t i = 0; i < r.curves.size(); ++i) {
        const auto f = figures(r.curves[i]);
        line(s, fieldInt(static_cast<long long>(i + 1), 6) + fieldReal(f[0], 11, 4) + fieldReal(f[1], 11, 4) +
                    fieldReal(f[2], 11, 4) + fieldReal(f[3], 11, 4));
    }
}

}  // namespace

std::string RelatorioApoiado(const SupportedResult& r)
{
    std::string s;
    line(s, padText("-----Deslocamentos-----", 32) + padText("--Reações de apoio--", 22));
    line(s, padText("no", 4) + padText("Vertical", 14) + padText("Rotação", 14) + padText("Força", 11) +
                padText("M.fletor", 11));
    for (std::size_t n = 0; n < r.vertical.size(); ++n)
        line(s, fieldInt(static_cast<long long>(n + 1), 4) + fieldReal(r.vertical[n], 14, 8) +
                    fieldReal(r.rotation[n], 14, 8) + fieldReal(r.force[n], 11, 4) +
                    fieldReal(r.moment[n], 11, 4));
    line(s, "");
    line(s, padText("----Esf. Esquerda-----", 28) + padText("----Esf. Direita-----", 22));
    line(s, padText("Trecho", 6) + padText("Cortante", 11) + padText("Momento", 11) +
                padText("Cortante", 11) + padText("Momento", 11));
    spanBlock(s, r, [](const SpanCurve& c) {
        return std::array<double, 4>{c.startShear(), c.startMoment(), c.endShear(), c.endMoment()};
    });
    line(s, "");
    const auto heading = [&s](const char* title, const char* plus, const char* minus) {
        line(s, title);
        line(s, padText("Trecho", 6) + padText(plus, 11) + padText("Posição", 11) + padText(minus, 11) +
                    padText("Posição", 11));
    };
    heading("--------Máximos Momentos nos Trechos", "Max. M+", "Max. M-");
    spanBlock(s, r, [](const SpanCurve& c) {
        const Extreme hi = c.largestMoment(), lo = c.smallestMoment();
        return std::array<double, 4>{hi.value, hi.position, lo.value, lo.position};
    });
    line(s, "");
    heading("--------Máximos Cortantes nos Trechos", "Max. C+", "Max. C-");
    spanBlock(s, r, [](const SpanCurve& c) {
        const Extreme hi = c.largestShear(), lo = c.smallestShear();
        return std::array<double, 4>{hi.value, hi.position, lo.value, lo.position};
    });
    return s;
}

}  // namespace kalvoro
