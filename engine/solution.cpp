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
#include <cmath>

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
Delta delta(const AnalysisModel& m, long e)
{
    const Int A = m.Incidence(e, 1);
    const Int B = m.Incidence(e, 2);
    return {static_cast<Real>(m.Coord(B, 1)) - m.Coord(A, 1),
            static_cast<Real>(m.Coord(B, 2)) - m.Coord(A, 2)};
}

struct ElementTerms {
    Real c, s, a, b, f;
};

// Direction cosines and the stiffness factors a, b, f of element e.
ElementTerms elementTerms(const AnalysisModel& m, Int e)
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

// Integer division truncating toward zero, refusing a zero divisor.
Int intDiv(Int a, Int b)
{
    if (b == 0) throw ArithmeticError("divisão por zero");
    if (b == -1) return subInt(0, a);
    return a / b;
}

// Weight of the most significant digit of a support code: 10^(DofPerNode - 1).
Int topDigitWeight(Int dofPerNode)
{
    return roundEven(std::exp(static_cast<Real>(dofPerNode - 1) * std::log(10.0L)));
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

void MontaRigidez(AnalysisModel& m)
{
    m.Skyline.fill(0.0);
    MontaElementos(m);
}

void MontaElementos(AnalysisModel& m)
{
    const Int dof = m.DofPerNode;
    for (Int e = 1; e <= m.ElementCount; ++e) {
        const auto [c, s, a, b, f] = elementTerms(m, e);
        const Real h = f / 2;
        Array2<Real, 4, 4> K{"K"};
        K(1, 1) = a * c * c - 2 * b * c * s + f * s * s;
        K(2, 2) = f * c * c + 2 * b * c * s + a * s * s;
        K(3, 3) = a * c * c + 2 * b * c * s + f * s * s;
        K(4, 4) = f * c * c - 2 * b * c * s + a * s * s;
        K(1, 2) = b * c * c + a * c * s - f * c * s - b * s * s;
        K(1, 3) = -a * c * c + h * s * s;
        K(1, 4) = b * c * c - a * c * s - h * c * s + b * s * s;
        K(2, 3) = -b * c * c - a * c * s - h * c * s - b * s * s;
        K(2, 4) = h * c * c - a * s * s;
        K(3, 4) = -b * c * c + a * c * s - f * c * s + b * s * s;
        for (Int p = 1; p <= 4; ++p)
            for (Int q = 1; q < p; ++q) K(p, q) = K(q, p);

        // Location vector: the equation of each local degree of freedom.
        Array1<Int, capacity::WorkVector> lm{"LM"};
        for (Int j = 1; j <= m.NodesPerElement; ++j)
            for (Int d = 1; d <= dof; ++d)
                lm[(j - 1) * dof + d] = addInt(mulInt(subInt(m.Incidence(e, j), 1), dof), d);

        // Upper triangle only: each coupling is added once, from the pair whose
        // row equation is the smaller.
        for (Int p = 1; p <= m.ElementDofCount; ++p) {
            for (Int q = 1; q <= m.ElementDofCount; ++q) {
                if (lm[p] > lm[q]) continue;
                double& term = m.Skyline[m.DiagPointer[lm[q]] - (lm[q] - lm[p])];
                term = store(term + K(p, q));
            }
        }
    }
}

void MontaCargas(AnalysisModel& m)
{
    m.LoadVector.fill(0.0);
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

void AplicaApoios(AnalysisModel& m)
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

void ResolveSistema(AnalysisModel& m)
{
    const Int N = m.EquationCount;
    auto& S = m.Skyline;

    // Per column j: its top row, and base[j] = DiagPointer[j] - j so that term
    // (i, j) is S[base[j] + i]. A column of height 0 belongs to a node on no
    // element: nothing holds it. The assembled diagonals are kept as the
    // yardstick of the mechanism test.
    std::array<Int, capacity::Equations + 1> top{}, base{};
    Array1<double, capacity::Equations> original{"original diagonal"};
    for (Int j = 1; j <= N; ++j) {
        const Int previous = j > 1 ? m.DiagPointer[j - 1] : 0;
        base[j] = m.DiagPointer[j] - j;
        top[j] = j - (m.DiagPointer[j] - previous) + 1;
        if (top[j] > j) throw EngineError(DivisionByZero);
        original[j] = S[base[j] + j];
    }
    refuseFreeBeam(m);

    // K = U^T U, column by column, U overwriting K.
    S[m.DiagPointer[1]] = store(root(S[m.DiagPointer[1]]));
    for (Int j = 2; j <= N; ++j) {
        const Int mt = top[j], bj = base[j];
        if (mt < j) {
            const double topPivot = S[base[mt] + mt];
            if (topPivot == 0) throw EngineError(DivisionByZero);
            S[bj + mt] = store(div(S[bj + mt], topPivot));
            for (Int i = mt + 1; i <= j; ++i) {
                const Int bi = base[i];
                Real sum = S[bj + i];
                for (Int k = std::max(top[i], mt); k <= i - 1; ++k)
                    sum -= static_cast<Real>(S[bi + k]) * S[bj + k];
                S[bj + i] = store(sum);
                if (i < j) {
                    const double pivot = S[bi + i];
                    if (pivot == 0) throw EngineError(DivisionByZero);
                    S[bj + i] = store(div(S[bj + i], pivot));
                }
            }
        }
        const Real pivot = S[bj + j];
        if (std::fabs(pivot) <= PivotLoss * original[j]) throw EngineError(DivisionByZero);
        if (pivot < 0) throw EngineError(NegativeRoot);
        S[bj + j] = store(root(pivot));
    }

    for (Int lc = 1; lc <= m.LoadCaseCount; ++lc) {
        // Forward: U^T y = F.
        m.LoadVector(1, lc) = store(div(m.LoadVector(1, lc), S[m.DiagPointer[1]]));
        for (Int i = 2; i <= N; ++i) {
            const Int bi = base[i];
            Real sum = m.LoadVector(i, lc);
            for (Int k = top[i]; k <= i - 1; ++k) sum -= static_cast<Real>(S[bi + k]) * m.LoadVector(k, lc);
            m.LoadVector(i, lc) = store(div(sum, S[bi + i]));
        }
    }

    // Backward, column-oriented: U x = y.
    for (Int i = N; i >= 2; --i) {
        const Int bi = base[i];
        for (Int lc = 1; lc <= m.LoadCaseCount; ++lc)
            m.LoadVector(i, lc) = store(div(m.LoadVector(i, lc), S[bi + i]));
        for (Int k = top[i]; k <= i - 1; ++k) {
            for (Int lc = 1; lc <= m.LoadCaseCount; ++lc) {
                double& y = m.LoadVector(k, lc);
                y = store(y - static_cast<Real>(S[bi + k]) * m.LoadVector(i, lc));
            }
        }
    }
    for (Int lc = 1; lc <= m.LoadCaseCount; ++lc)
        m.LoadVector(1, lc) = store(div(m.LoadVector(1, lc), S[m.DiagPointer[1]]));

    // Reactions of the restrained freedoms, positive upward / counter-clockwise;
    // every load case overwrites the previous one's.
    const Int dof = m.DofPerNode;
    const Int weight = topDigitWeight(dof);
    for (Int lc = 1; lc <= m.LoadCaseCount; ++lc) {
        for (Int s = 1; s <= m.SupportCount; ++s) {
            Int r = weight;
            Int code = m.SupportCode[s];
            const Int n = m.SupportNode[s];
            for (Int d = 1; d <= dof; ++d) {
                const Int g = addInt(mulInt(subInt(n, 1), dof), d);
                m.Reaction(s, d) = 0;
                if (intDiv(code, r) != 0) {
                    m.Reaction(s, d) =
                        store((static_cast<Real>(m.SupportValue(s, d)) - m.LoadVector(g, lc)) * Penalty);
                    code = subInt(code, r);
                }
                r = intDiv(r, 10);
            }
        }
    }
}

void EsforcosExtremos(AnalysisModel& m)
{
    m.ElementStartShear.fill(0.0);
    m.ElementStartMoment.fill(0.0);
    const Int dof = m.DofPerNode;
    for (Int e = 1; e <= m.ElementCount; ++e) {
        Int t = 1;
        for (Int j = 1; j <= m.NodesPerElement; ++j) {
            for (Int d = 1; d <= dof; ++d) {
                m.ElementDisp[t] = m.LoadVector(addInt(mulInt(subInt(m.Incidence(e, j), 1), dof), d), 1);
                ++t;
            }
        }

        const auto [c, s, a, b, f] = elementTerms(m, e);
        const Real h = f / 2;
        const Real T[4][4] = {
            {a * c - b * s, b * c + a * s, -a * c - b * s, b * c - a * s},
            {b * c - f * s, f * c + b * s, -b * c - h * s, h * c - b * s},
            {-a * c + b * s, -b * c - a * s, a * c + b * s, -b * c + a * s},
            {b * c - h * s, h * c + b * s, -b * c - f * s, f * c - b * s},
        };
        Array2<Real, 4, 4> Tk{"T"};
        for (Int i = 1; i <= 4; ++i)
            for (Int j = 1; j <= 4; ++j) Tk(i, j) = T[i - 1][j - 1];

        for (Int i = 1; i <= m.ElementDofCount; ++i) {
            Real sum = 0;
            for (Int j = 1; j <= m.ElementDofCount; ++j) sum += Tk(i, j) * m.ElementDisp[j];
            m.ElementForce[i] = store(sum);
        }
        m.ElementStartShear[e] = m.ElementForce[1];
        m.ElementStartMoment[e] = m.ElementForce[2];
    }
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
