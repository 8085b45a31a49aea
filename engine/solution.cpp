// Assembly, supports, Cholesky solution, reactions and element end forces.
//
// Beam element, local degrees of freedom 1 = vertical displacement of the start
// node A, 2 = rotation of A, 3 and 4 the same for the end node B. With
// a = 12EI/L^3, b = 6EI/L^2 and f = 4EI/L its stiffness is
//
//       |  a    b   -a    b  |
//   k = |  b    f   -b   f/2 |
//       | -a   -b    a   -b  |
//       |  b   f/2  -b    f  |
//
// and the global matrix is K = R^T k R, R holding the block [[c, s], [-s, c]]
// per node (c, s the direction cosines of A -> B). The end forces caused by the
// nodal displacements are T u with T = k R.
//
// Supports are imposed by a penalty of 1e30 on the diagonal of every restrained
// degree of freedom, so every degree of freedom stays an equation and the
// reaction is the penalty times minus the (tiny) displacement.

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <span>
#include <string>
#include <vector>

#include "engine/arithmetic.h"
#include "engine/engine.h"

namespace kalvoro {

namespace {

using Int = AnalysisModel::Int;

constexpr Real Penalty = 1e30L;

// A pivot that keeps no more than this fraction of its column's assembled
// diagonal has been eliminated by the columns before it: the beam is a
// mechanism and the value left is rounding noise (the supports of a straight
// beam are checked before, so this catches what that check cannot see). A
// stable beam keeps more unless neighbouring spans differ in stiffness by about
// a trillion, and its solution would then be good to a few digits only.
constexpr Real PivotLoss = 1e-12L;

constexpr const char* DivisionByZero = "divisao por zero";
constexpr const char* NegativeRoot = "numero negativo na raiz";

// X(B) - X(A) and Y(B) - Y(A) of element e, from its start node A to its end node B.
struct Delta {
    Real dx, dy;
};
[[gnu::always_inline]] inline Delta delta(const AnalysisModel& m, long e)
{
    const Int A = m.Incidence(e, 1);
    const Int B = m.Incidence(e, 2);
    return {static_cast<Real>(m.Coord(B, 1)) - m.Coord(A, 1),
            static_cast<Real>(m.Coord(B, 2)) - m.Coord(A, 2)};
}

struct ElementTerms {
    Real c, s, a, b, f;
};

// Direction cosines and the stiffness factors a, b, f of element e, every
// operation checked.
ElementTerms checkedElementTerms(const AnalysisModel& m, Int e)
{
    const auto [dx, dy] = delta(m, e);
    const Real L = root(dx * dx + dy * dy);
    const Real E = m.MaterialProp(m.ElementMaterial[e], 1);
    const Real I = m.SectionProp(m.ElementSection[e], 1);
    ElementTerms t{};
    t.c = div(dx, L);
    t.s = div(dy, L);
    t.a = div(12 * E * I, L * L * L);
    t.b = div(6 * E * I, L * L);
    t.f = div(4 * E * I, L);
    return t;
}

// The same terms, as every solution needs them twice per element. A span of
// positive length whose five terms come out finite cannot have failed any of
// the checks, so that case is computed with the same operations unchecked and
// confirmed by one test at the end; anything else is computed again with the
// checks, which then fail exactly where the checked computation fails.
[[gnu::always_inline]] inline ElementTerms elementTerms(const AnalysisModel& m, Int e)
{
    const auto [dx, dy] = delta(m, e);
    const Real L2 = dx * dx + dy * dy;
    if (!(L2 > 0)) return checkedElementTerms(m, e);
    const Real L = std::sqrt(L2);
    const Real E = m.MaterialProp(m.ElementMaterial[e], 1);
    const Real I = m.SectionProp(m.ElementSection[e], 1);
    // Along the axis (dy = +-0, so L = |dx| as a rule) the cosines need no
    // division: x / x is exactly 1 and 0 / L is 0 with the sign of 0.
    const Real c = dx == L ? 1 : dx == -L ? -1 : dx / L;
    const Real s = dy == 0 ? dy : dy / L;
    const ElementTerms t{c, s, 12 * E * I / (L * L * L), 6 * E * I / (L * L), 4 * E * I / L};
    if (!(std::fabs(t.c + t.s + t.a + t.b + t.f) <= std::numeric_limits<Real>::max()))
        return checkedElementTerms(m, e);
    return t;
}

// Neither zero, infinite nor NaN. Adding +-0 to such a value gives the value
// itself, bit for bit.
bool solid(Real x)
{
    return x != 0 && std::fabs(x) <= std::numeric_limits<Real>::max();
}

// Integer division truncating toward zero, refusing a zero divisor.
[[gnu::always_inline]] inline Int intDiv(Int a, Int b)
{
    if (b == 0) throw ArithmeticError("divisão por zero");
    if (b == -1) return subInt(0, a);
    return a / b;
}

// Weight of the most significant digit of a support code: 10^(DofPerNode - 1).
// A pure function of DofPerNode, asked three times per solution with the same
// value, so the last answer is kept.
Int topDigitWeight(Int dofPerNode)
{
    static Int knownDof = 0, knownWeight = 0;
    if (knownDof == 0 || knownDof != dofPerNode) {
        knownWeight = roundEven(std::exp(static_cast<Real>(dofPerNode - 1) * std::log(10.0L)));
        knownDof = dofPerNode;
    }
    return knownWeight;
}

// Whether support entry s restrains freedom d, the digits of its code read as
// the supports read them (weight: that of the first digit); a spring
// holds a freedom too.
bool holds(const AnalysisModel& m, Int weight, Int s, Int d)
{
    Int r = weight;
    Int code = m.SupportCode[s];
    for (Int k = 1; k <= d; ++k) {
        const bool restrained = intDiv(code, r) != 0;
        if (restrained) code = subInt(code, r);
        if (k == d) return restrained || m.SupportValue(s, d) != 0;
        r = intDiv(r, 10);
    }
    return false;
}

// A straight horizontal beam whose supports leave a rigid-body motion free is
// refused outright. Each group of elements joined at their nodes moves without
// strain only as v(x) = v0 + t x with rotation t; the group is held when it has
// a vertical restraint and either a rotation restraint or a second vertical
// restraint at another X. The pivots alone cannot always tell: where a stiff
// short span sits between long ones the rounding left in a mechanism's last
// pivot can exceed any fixed fraction of its diagonal. Models that are not
// such a beam (other freedoms, inclined elements) are left to the pivots.
void refuseFreeBeam(const AnalysisModel& m)
{
    if (m.DofPerNode != 2 || m.NodesPerElement != 2) return;
    const Int nodes = m.EquationCount / 2;
    Array1<Int, capacity::Equations> parent{"group"};
    for (Int n = 1; n <= nodes; ++n) parent[n] = n;
    const auto groupOf = [&](Int n) {
        while (parent[n] != n) n = parent[n] = parent[parent[n]];
        return n;
    };

    // Elements without stiffness join nothing; their freedoms show as zero pivots.
    const auto joins = [&](Int e) {
        return static_cast<Real>(m.MaterialProp(m.ElementMaterial[e], 1)) *
                   m.SectionProp(m.ElementSection[e], 1) >
               0;
    };
    for (Int e = 1; e <= m.ElementCount; ++e) {
        const Int A = m.Incidence(e, 1), B = m.Incidence(e, 2);
        if (A < 1 || B < 1 || A > nodes || B > nodes || m.Coord(A, 2) != m.Coord(B, 2)) return;
        if (joins(e)) parent[groupOf(A)] = groupOf(B);
    }

    const Int weight = topDigitWeight(m.DofPerNode);
    constexpr Int Vertical = 1, SecondVertical = 2, Rotation = 4;
    Array1<Int, capacity::Equations> held{"held"};
    Array1<double, capacity::Equations> firstX{"first support X"};
    for (Int s = 1; s <= m.SupportCount; ++s) {
        const Int n = m.SupportNode[s];
        if (n < 1 || n > nodes) return;
        const Int g = groupOf(n);
        if (holds(m, weight, s, 1)) {
            if (!(held[g] & Vertical)) {
                held[g] |= Vertical;
                firstX[g] = m.Coord(n, 1);
            } else if (m.Coord(n, 1) != firstX[g]) {
                held[g] |= SecondVertical;
            }
        }
        if (holds(m, weight, s, 2)) held[g] |= Rotation;
    }

    for (Int e = 1; e <= m.ElementCount; ++e) {
        if (!joins(e)) continue;
        const Int h = held[groupOf(m.Incidence(e, 1))];
        if (!(h & Vertical) || !(h & (SecondVertical | Rotation))) throw EngineError(DivisionByZero);
    }
}

}  // namespace

long double ElementLength(const AnalysisModel& m, long e)
{
    const auto [dx, dy] = delta(m, e);
    return root(dx * dx + dy * dy);
}

double ComprimentoTotal(const AnalysisModel& m)
{
    double total = 0;
    for (Int k = 1; k <= m.ElementCount; ++k) total = store(total + ElementLength(m, m.LoadRowElement(k, 1)));
    return total;
}

// Only the terms that this run can reach are cleared. Every term the assembly,
// the supports and the solution address is DiagPointer[g] - (g - i) for some
// equation g <= 400 and i <= g, so it lies at or below the largest
// DiagPointer entry (a position outside 1..5000 is an index error either way).
// A term above that is read by no routine of this run, and a later run clears
// its own reach before reading it, so nothing ever reads a term that this
// clear leaves alone: the whole 5000 would cost as much as the assembly itself.
void MontaRigidez(AnalysisModel& m)
{
    Int reach = 0;
    for (const Int pointer : m.DiagPointer.range(1, capacity::Equations)) reach = std::max(reach, pointer);
    const auto reached = m.Skyline.range(1, std::min<long>(reach, capacity::SkylineTerms));
    std::fill(reached.begin(), reached.end(), 0.0);
    MontaElementos(m);
}

void MontaElementos(AnalysisModel& m)
{
    static constexpr int upper[4][4] = {{0, 1, 2, 3}, {1, 4, 5, 6}, {2, 5, 7, 8}, {3, 6, 8, 9}};
    const Int dof = m.DofPerNode;
    for (Int e = 1; e <= m.ElementCount; ++e) {
        const auto [c, s, a, b, f] = elementTerms(m, e);
        const Real h = f / 2;
        // Location vector: the equation of each local degree of freedom.
        Array1<Int, capacity::WorkVector> lm{"LM"};
        for (Int j = 1; j <= m.NodesPerElement; ++j)
            for (Int d = 1; d <= dof; ++d)
                lm[(j - 1) * dof + d] = addInt(mulInt(subInt(m.Incidence(e, j), 1), dof), d);

        // Upper triangle only: each coupling (p, q) is added once, from the
        // pair whose row equation is the smaller; pairs in row-major order.
        const auto add = [&m, &lm](Int p, Int q, Real Kpq) {
            const Int lp = lm[p], lq = lm[q];
            if (lp > lq) return;
            double& term = m.Skyline[m.DiagPointer[lq] - (lq - lp)];
            term = store(term + Kpq);
        };
        const Int count = m.ElementDofCount;
        const Real acc = a * c * c, bcc = b * c * c, fcc = f * c * c, hcc = h * c * c;
        if (count == 4 && s == 0 && solid(acc) && solid(bcc) && solid(fcc) && solid(hcc)) {
            // Horizontal: every term with a factor s is +-0, which leaves a
            // finite non-zero term as it is. Written out, the four terms stay
            // in registers.
            add(1, 1, acc), add(1, 2, bcc), add(1, 3, -acc), add(1, 4, bcc);
            add(2, 1, bcc), add(2, 2, fcc), add(2, 3, -bcc), add(2, 4, hcc);
            add(3, 1, -acc), add(3, 2, -bcc), add(3, 3, acc), add(3, 4, -bcc);
            add(4, 1, bcc), add(4, 2, hcc), add(4, 3, -bcc), add(4, 4, fcc);
            continue;
        }

        // Term (p, q) of the upper triangle of K is k[upper[p - 1][q - 1]]; the
        // lower triangle reads its mirror.
        const Real k[10] = {
            a * c * c - 2 * b * c * s + f * s * s,           // (1, 1)
            b * c * c + a * c * s - f * c * s - b * s * s,   // (1, 2)
            -a * c * c + h * s * s,                          // (1, 3)
            b * c * c - a * c * s - h * c * s + b * s * s,   // (1, 4)
            f * c * c + 2 * b * c * s + a * s * s,           // (2, 2)
            -b * c * c - a * c * s - h * c * s - b * s * s,  // (2, 3)
            h * c * c - a * s * s,                           // (2, 4)
            a * c * c + 2 * b * c * s + f * s * s,           // (3, 3)
            -b * c * c + a * c * s - f * c * s + b * s * s,  // (3, 4)
            f * c * c - 2 * b * c * s + a * s * s,           // (4, 4)
        };
        for (Int p = 1; p <= count; ++p)
            for (Int q = 1; q <= count; ++q) {
                if (lm[p] > lm[q]) continue;
                double& term = m.Skyline[m.DiagPointer[lm[q]] - (lm[q] - lm[p])];
                term = store(term + k[upper[detail::at("K", p, 4)][detail::at("K", q, 4)]]);
            }
    }
}

namespace {

// The nodal load entries of every load case added to LoadVector.
void addNodalLoads(AnalysisModel& m)
{
    const Int dof = m.DofPerNode;
    for (Int lc = 1; lc <= m.LoadCaseCount; ++lc) {
        for (Int i = 1; i <= m.NodalLoadCount[lc]; ++i) {
            const Int n = m.NodalLoadNode(i, lc);
            for (Int d = 1; d <= dof; ++d) {
                double& f = m.LoadVector(addInt(mulInt(subInt(n, 1), dof), d), lc);
                f = store(static_cast<Real>(f) + m.NodalLoadValue(i, d, lc));
            }
        }
    }
}

}  // namespace

void MontaCargas(AnalysisModel& m)
{
    m.LoadVector.fill(0.0);
    addNodalLoads(m);
}

namespace {

// The supports, and, when terms is given, what they add to the load vector in
// the order they add it: the matrix and the load vector share one loop, the
// load term reading the diagonal as it stands after its penalty.
void applySupports(AnalysisModel& m, std::vector<FactoredStiffness::SupportLoadTerm>* terms)
{
    const Int dof = m.DofPerNode;
    const Int weight = topDigitWeight(dof);
    for (Int s = 1; s <= m.SupportCount; ++s) {
        Int r = weight;
        Int code = m.SupportCode[s];
        const Int n = m.SupportNode[s];
        for (Int d = 1; d <= dof; ++d) {
            const Int g = addInt(mulInt(subInt(n, 1), dof), d);
            double& diagonal = m.Skyline[m.DiagPointer[g]];
            const Real value = m.SupportValue(s, d);
            diagonal = store(diagonal + value);
            // Any non-zero digit restrains: code 20 restrains both freedoms.
            if (intDiv(code, r) != 0) {
                diagonal = store(diagonal + Penalty);
                if (terms) terms->push_back({g, diagonal, m.SupportValue(s, d)});
                for (Int lc = 1; lc <= m.LoadCaseCount; ++lc) {
                    double& f = m.LoadVector(g, lc);
                    f = store(f + static_cast<Real>(diagonal) * value);
                }
                code = subInt(code, r);
            }
            r = intDiv(r, 10);
        }
    }
}

}  // namespace

void AplicaApoios(AnalysisModel& m)
{
    applySupports(m, nullptr);
}

namespace {

using Profile = FactoredStiffness::Profile;

Profile profileOf(const AnalysisModel& m)
{
    Profile p;
    p.N = m.EquationCount;
    for (Int j = 1; j <= p.N; ++j) {
        const Int previous = j > 1 ? m.DiagPointer[j - 1] : 0;
        const Int diagonal = m.DiagPointer[j];
        p.base[j] = diagonal - j;
        p.top[j] = j - (diagonal - previous) + 1;
        if (p.top[j] > j) throw EngineError(DivisionByZero);
        if (p.top[j] < 1) throw IndexError("coluna " + std::to_string(j) + " do perfil acima da equação 1");
        p.diagonal[j] = m.Skyline[diagonal];
    }
    return p;
}

// Every column holds at least its diagonal, so column j occupies positions
// DiagPointer[j - 1] + 1 .. DiagPointer[j]: all the columns together fill
// 1..DiagPointer[N], which profileOf has checked term by term. The
// decomposition and the substitutions address only terms of columns 1..N.
std::span<double> columnTerms(AnalysisModel& m, const Profile& p)
{
    return p.N >= 1 ? m.Skyline.range(1, m.DiagPointer[p.N]) : std::span<double>{};
}

// K = U^T U, column by column, U overwriting K.
void decompose(AnalysisModel& m, const Profile& p)
{
    const Int N = p.N;
    const auto& top = p.top;
    const auto& base = p.base;
    const auto& original = p.diagonal;
    auto& S = m.Skyline;
    refuseFreeBeam(m);

    const std::span<double> terms = columnTerms(m, p);
    const auto U = [terms](Int position) -> double& { return terms[static_cast<std::size_t>(position - 1)]; };

    S[m.DiagPointer[1]] = store(root(S[m.DiagPointer[1]]));
    for (Int j = 2; j <= N; ++j) {
        const Int mt = top[j], bj = base[j];
        if (mt < j) {
            const double topPivot = U(base[mt] + mt);
            if (topPivot == 0) throw EngineError(DivisionByZero);
            U(bj + mt) = store(div(U(bj + mt), topPivot));
            for (Int i = mt + 1; i <= j; ++i) {
                const Int bi = base[i];
                Real sum = U(bj + i);
                for (Int k = std::max(top[i], mt); k <= i - 1; ++k)
                    sum -= static_cast<Real>(U(bi + k)) * U(bj + k);
                U(bj + i) = store(sum);
                if (i < j) {
                    const double pivot = U(bi + i);
                    if (pivot == 0) throw EngineError(DivisionByZero);
                    U(bj + i) = store(div(U(bj + i), pivot));
                }
            }
        }
        const Real pivot = U(bj + j);
        if (std::fabs(pivot) <= PivotLoss * original[j]) throw EngineError(DivisionByZero);
        if (pivot < 0) throw EngineError(NegativeRoot);
        U(bj + j) = store(root(pivot));
    }
}

// Forward and back substitution of every load case through U.
void substitute(AnalysisModel& m, const Profile& p)
{
    const Int N = p.N;
    const auto& top = p.top;
    const auto& base = p.base;
    const auto& S = m.Skyline;
    const std::span<double> terms = columnTerms(m, p);
    const auto U = [terms](Int position) -> double { return terms[static_cast<std::size_t>(position - 1)]; };

    for (Int lc = 1; lc <= m.LoadCaseCount; ++lc) {
        // Forward: U^T y = F. While F and every y before it are +0.0, y(i) is
        // (+0.0 - sum of +-0.0) / U(i, i) = +0.0 for a non-zero pivot (pivots
        // are roots, never negative), which F(i) already holds: the rows
        // before the first load are skipped. A zero pivot still fails below.
        m.LoadVector(1, lc) = store(div(m.LoadVector(1, lc), S[m.DiagPointer[1]]));
        bool zeroSoFar = std::bit_cast<std::uint64_t>(m.LoadVector(1, lc)) == 0;
        for (Int i = 2; i <= N; ++i) {
            const Int bi = base[i];
            if (zeroSoFar) {
                if (std::bit_cast<std::uint64_t>(m.LoadVector(i, lc)) == 0 && U(bi + i) != 0) continue;
                zeroSoFar = false;
            }
            Real sum = m.LoadVector(i, lc);
            for (Int k = top[i]; k <= i - 1; ++k) sum -= static_cast<Real>(U(bi + k)) * m.LoadVector(k, lc);
            m.LoadVector(i, lc) = store(div(sum, U(bi + i)));
        }
    }

    // Backward, column-oriented: U x = y.
    for (Int i = N; i >= 2; --i) {
        const Int bi = base[i];
        for (Int lc = 1; lc <= m.LoadCaseCount; ++lc)
            m.LoadVector(i, lc) = store(div(m.LoadVector(i, lc), U(bi + i)));
        for (Int k = top[i]; k <= i - 1; ++k) {
            for (Int lc = 1; lc <= m.LoadCaseCount; ++lc) {
                double& y = m.LoadVector(k, lc);
                y = store(y - static_cast<Real>(U(bi + k)) * m.LoadVector(i, lc));
            }
        }
    }
    for (Int lc = 1; lc <= m.LoadCaseCount; ++lc)
        m.LoadVector(1, lc) = store(div(m.LoadVector(1, lc), S[m.DiagPointer[1]]));
}

// Each freedom of each support entry, in order, decoded as AplicaApoios
// decodes the codes.
void supportFreedoms(const AnalysisModel& m, std::vector<FactoredStiffness::Freedom>& freedoms)
{
    freedoms.clear();
    const Int dof = m.DofPerNode;
    const Int weight = topDigitWeight(dof);
    for (Int s = 1; s <= m.SupportCount; ++s) {
        Int r = weight;
        Int code = m.SupportCode[s];
        const Int n = m.SupportNode[s];
        for (Int d = 1; d <= dof; ++d) {
            const Int g = addInt(mulInt(subInt(n, 1), dof), d);
            const bool restrained = intDiv(code, r) != 0;
            if (restrained) code = subInt(code, r);
            freedoms.push_back({s, d, g, restrained});
            r = intDiv(r, 10);
        }
    }
}

// Reactions of the restrained freedoms, positive upward / counter-clockwise;
// every load case overwrites the previous one's.
void reactions(AnalysisModel& m, const std::vector<FactoredStiffness::Freedom>& freedoms)
{
    for (Int lc = 1; lc <= m.LoadCaseCount; ++lc) {
        for (const FactoredStiffness::Freedom& f : freedoms) {
            m.Reaction(f.support, f.dof) = 0;
            if (f.restrained)
                m.Reaction(f.support, f.dof) = store(
                    (static_cast<Real>(m.SupportValue(f.support, f.dof)) - m.LoadVector(f.equation, lc)) *
                    Penalty);
        }
    }
}

}  // namespace

void ResolveSistema(AnalysisModel& m)
{
    const Profile p = profileOf(m);
    decompose(m, p);
    substitute(m, p);
    if (m.LoadCaseCount >= 1) {
        // Kept from run to run: no allocation after the first.
        thread_local std::vector<FactoredStiffness::Freedom> freedoms;
        supportFreedoms(m, freedoms);
        reactions(m, freedoms);
    }
}

namespace {

using ForceMatrix = long double[4][4];

// The rows of T = k R of an element, row(i, Ti1, Ti2, Ti3, Ti4) for i = 0..3,
// of which a solution with count freedoms per element reads rows and columns
// 1..count.
template <class Row>
[[gnu::always_inline]] inline void forceRows(const ElementTerms& t, Int count, Row row)
{
    const auto [c, s, a, b, f] = t;
    const Real h = f / 2;
    const Real ac = a * c, bc = b * c, fc = f * c, hc = h * c;
    if (count == 4 && s == 0 && solid(ac) && solid(bc) && solid(fc) && solid(hc)) {
        // Horizontal, as in MontaElementos: the terms with s drop out.
        row(0, ac, bc, -ac, bc);
        row(1, bc, fc, -bc, hc);
        row(2, -ac, -bc, ac, -bc);
        row(3, bc, hc, -bc, fc);
        return;
    }
    row(0, a * c - b * s, b * c + a * s, -a * c - b * s, b * c - a * s);
    row(1, b * c - f * s, f * c + b * s, -b * c - h * s, h * c - b * s);
    row(2, -a * c + b * s, -b * c - a * s, a * c + b * s, -b * c + a * s);
    row(3, b * c - h * s, h * c + b * s, -b * c - f * s, f * c - b * s);
}

void forceMatrix(const ElementTerms& t, Int count, ForceMatrix& T)
{
    forceRows(t, count, [&T](int i, Real t1, Real t2, Real t3, Real t4) {
        T[i][0] = t1, T[i][1] = t2, T[i][2] = t3, T[i][3] = t4;
    });
}

// ElementForce[i + 1] = row i of T times ElementDisp 1..4, summed from 0 in
// column order.
[[gnu::always_inline]] inline void forceRow(AnalysisModel& m, int i, Real t1, Real t2, Real t3, Real t4)
{
    Real sum = 0;
    sum += t1 * m.ElementDisp[1];
    sum += t2 * m.ElementDisp[2];
    sum += t3 * m.ElementDisp[3];
    sum += t4 * m.ElementDisp[4];
    m.ElementForce[i + 1] = store(sum);
}

// ElementForce = T ElementDisp for count freedoms, each row summed from 0 in
// column order, and the start shear and moment of element e.
void endForces(AnalysisModel& m, Int e, const ForceMatrix& T, Int count)
{
    if (count == 4) {
        for (int i = 0; i < 4; ++i) forceRow(m, i, T[i][0], T[i][1], T[i][2], T[i][3]);
    } else {
        for (Int i = 1; i <= count; ++i) {
            Real sum = 0;
            for (Int j = 1; j <= count; ++j)
                sum += T[detail::at("T", i, 4)][detail::at("T", j, 4)] * m.ElementDisp[j];
            m.ElementForce[i] = store(sum);
        }
    }
    m.ElementStartShear[e] = m.ElementForce[1];
    m.ElementStartMoment[e] = m.ElementForce[2];
}

}  // namespace

void EsforcosExtremos(AnalysisModel& m)
{
    m.ElementStartShear.fill(0.0);
    m.ElementStartMoment.fill(0.0);
    const Int dof = m.DofPerNode;
    const Int count = m.ElementDofCount;
    for (Int e = 1; e <= m.ElementCount; ++e) {
        Int t = 1;
        for (Int j = 1; j <= m.NodesPerElement; ++j) {
            for (Int d = 1; d <= dof; ++d) {
                m.ElementDisp[t] = m.LoadVector(addInt(mulInt(subInt(m.Incidence(e, j), 1), dof), d), 1);
                ++t;
            }
        }
        if (count == 4) {
            // Each row summed as it is formed: the terms stay in registers.
            forceRows(elementTerms(m, e), count,
                      [&m](int i, Real t1, Real t2, Real t3, Real t4) { forceRow(m, i, t1, t2, t3, t4); });
            m.ElementStartShear[e] = m.ElementForce[1];
            m.ElementStartMoment[e] = m.ElementForce[2];
            continue;
        }
        ForceMatrix T;
        forceMatrix(elementTerms(m, e), count, T);
        endForces(m, e, T, count);
    }
}

FactoredStiffness::FactoredStiffness(AnalysisModel& m)
{
    ColunasAltura(m);
    MontaRigidez(m);
    MontaCargas(m);
    applySupports(m, &supportLoads_);
    profile_ = profileOf(m);
    decompose(m, profile_);

    // Reactions: which freedom of which support entry each one is.
    if (m.LoadCaseCount >= 1) supportFreedoms(m, freedoms_);

    // The end forces of two-node elements with two freedoms a node: each
    // element's equations and T, the same terms the assembly has just taken.
    // Other layouts go through EsforcosExtremos itself.
    const Int dof = m.DofPerNode;
    if (m.NodesPerElement == 2 && dof == 2 && m.ElementDofCount == 4) {
        for (Int e = 1; e <= m.ElementCount; ++e) {
            ElementForces ef{};
            for (Int j = 1; j <= 2; ++j)
                for (Int d = 1; d <= 2; ++d)
                    ef.equation[static_cast<std::size_t>((j - 1) * 2 + d - 1)] =
                        addInt(mulInt(subInt(m.Incidence(e, j), 1), dof), d);
            forceMatrix(elementTerms(m, e), 4, ef.T);
            elements_.push_back(ef);
        }
        twoNodeBeam_ = true;
    }

    // The load vector entries a solve can write: the equations (the
    // substitutions), the nodes' (the nodal loads of load case 1 belong to
    // nodes 1..NodeCount) and the supports'.
    if (m.LoadCaseCount == 1) {
        Int reach = std::max<Int>(m.EquationCount, mulInt(m.NodeCount, dof));
        for (const SupportLoadTerm& t : supportLoads_) reach = std::max(reach, t.equation);
        for (const Freedom& f : freedoms_) reach = std::max(reach, f.equation);
        loadReach_ = std::min<Int>(reach, capacity::Equations);
    }
}

void FactoredStiffness::solve(AnalysisModel& m)
{
    // After a solve that went through, only what a solve writes can be other
    // than zero (nothing else writes the model meanwhile): the load vector
    // within its reach in load case 1 and the end forces of the elements.
    const bool clean = clean_;
    clean_ = false;
    if (clean && loadReach_ > 0) {
        for (Int g = 1; g <= loadReach_; ++g) m.LoadVector(g, 1) = 0.0;
        addNodalLoads(m);
    } else {
        MontaCargas(m);
    }
    for (const SupportLoadTerm& t : supportLoads_) {
        for (Int lc = 1; lc <= m.LoadCaseCount; ++lc) {
            double& f = m.LoadVector(t.equation, lc);
            f = store(f + static_cast<Real>(t.diagonal) * static_cast<Real>(t.value));
        }
    }
    substitute(m, profile_);
    reactions(m, freedoms_);

    if (!twoNodeBeam_) {
        EsforcosExtremos(m);
        return;
    }
    if (!clean) {
        m.ElementStartShear.fill(0.0);
        m.ElementStartMoment.fill(0.0);
    }
    for (Int e = 1; e <= m.ElementCount; ++e) {
        const ElementForces& ef = elements_[static_cast<std::size_t>(e - 1)];
        for (Int t = 1; t <= 4; ++t)
            m.ElementDisp[t] = m.LoadVector(ef.equation[static_cast<std::size_t>(t - 1)], 1);
        endForces(m, e, ef.T, 4);
    }
    clean_ = true;
}

void SolveBeam(AnalysisModel& m)
{
    ColunasAltura(m);
    MontaRigidez(m);
    MontaCargas(m);
    AplicaApoios(m);
    ResolveSistema(m);
    EsforcosExtremos(m);
}

}  // namespace kalvoro
