// The influence-line computation: a downward unit load stands in turn at the
// tenths of every span and the whole beam is solved for it; the section's shear
// and moment come from the span functions with the section span's own load,
// which is the unit load when it stands on that span and nothing otherwise.

#include "influence/influence.h"

#include <bit>
#include <cmath>
#include <cstdint>

#include "data/file_names.h"
#include "data/numbers.h"
#include "data/text_file.h"
#include "engine/arithmetic.h"
#include "engine/engine.h"
#include "engine/errors.h"
#include "engine/nodal_loads.h"
#include "engine/section_forces.h"
#include "engine/text_fields.h"
#include "influence/unit_load.h"
#include "influence/unit_load_solver.h"

namespace kalvoro {

namespace {

constexpr const char* CrLf = "\r\n";

void solveForLoadRows(AnalysisModel& m)
{
    NovaCarga(m);
    SolveBeam(m);
}

// Length of load row's span for positions and sections: the X extent of the
// element the row names (all nodes lie on Y = 0).
Real spanXExtent(const AnalysisModel& m, long row)
{
    const long e = m.LoadRowElement(row, 1);
    const double x1 = m.Coord(m.Incidence(e, 1), 1);
    const double x2 = m.Coord(m.Incidence(e, 2), 1);
    return std::fabs(static_cast<Real>(x2) - static_cast<Real>(x1));
}

// Where "Cortante dir." is evaluated, given where the section span's own
// (unit) load stands (xs when it has none): a hundredth of the span right of the section, which
// counts a load standing at the section itself, as the shear just right of it
// must. A load inside that hundredth stands right of the section and must not
// count: the section itself leaves it out, as the shear just left does.
double rightShearAbscissa(double xs, Real sectionLength, double loadAt)
{
    const double beyond = store(xs + sectionLength / 100);
    return loadAt > xs && loadAt < beyond ? xs : beyond;
}

}  // namespace

void SolvedPositions::start(long n, double xs)
{
    n_ = n;
    xs_ = std::bit_cast<std::uint64_t>(xs);
    moments_.clear();
}

bool SolvedPositions::holds(long n, double xs) const
{
    return n_ != 0 && n == n_ && std::bit_cast<std::uint64_t>(xs) == xs_;
}

void SolvedPositions::remember(long k, double d, std::optional<double> moment)
{
    moments_[{k, std::bit_cast<std::uint64_t>(d)}] = moment;
}

const std::optional<double>* SolvedPositions::find(long k, double d) const
{
    const auto at = moments_.find({k, std::bit_cast<std::uint64_t>(d)});
    return at == moments_.end() ? nullptr : &at->second;
}

void NovaCarga(AnalysisModel& m)
{
    ClearEquivalentLoads(m);
    for (long r = 1; r <= m.LoadRowCount[1]; ++r) AddEquivalentLoads(m, r);
    BuildNodalLoadList(m);
}

void RestoreUserSolution(AnalysisModel& m)
{
    solveForLoadRows(m);
}

UnitLoadSession::UnitLoadSession(AnalysisModel& m) : m_(m)
{
    for (long r = 1; r <= capacity::LoadRows; ++r) {
        const Row row{r, m.LoadRowValue(r, 1, 1), m.LoadRowValue(r, 2, 1), m.LoadRowValue(r, 3, 1)};
        // Any bit set, -0.0 included: only +0.0 is what a clear leaves.
        if ((std::bit_cast<std::uint64_t>(row.q) | std::bit_cast<std::uint64_t>(row.P) |
             std::bit_cast<std::uint64_t>(row.d)) != 0)
            user_.push_back(row);
    }
}

void UnitLoadSession::zeroTouchedRows() noexcept
{
    const auto zero = [this](long r) {
        for (long c = 1; c <= 3; ++c) m_.LoadRowValue(r, c, 1) = 0.0;
    };
    if (now_.user) {
        for (const Row& row : user_) zero(row.row);
    } else if (now_.unit.row != 0) {
        zero(now_.unit.row);
    }
}

void UnitLoadSession::write(const Contents& c) noexcept
{
    const auto put = [this](const Row& row) {
        m_.LoadRowValue(row.row, 1, 1) = row.q;
        m_.LoadRowValue(row.row, 2, 1) = row.P;
        m_.LoadRowValue(row.row, 3, 1) = row.d;
    };
    if (c.user) {
        for (const Row& row : user_) put(row);
    } else if (c.unit.row != 0) {
        put(c.unit);
    }
    now_ = c;
}

void UnitLoadSession::clearRows()
{
    if (othersZero_) {
        zeroTouchedRows();
    } else {
        m_.LoadRowValue.fill(0.0);
        othersZero_ = true;
    }
    now_ = {false, {}};
}

void UnitLoadSession::setUnitLoad(long k, double d)
{
    // Row k is checked by the first write; the second cannot fail after it.
    m_.LoadRowValue(k, 2, 1) = -1.0;
    m_.LoadRowValue(k, 3, 1) = d;
    now_ = {false, {k, 0.0, -1.0, d}};
}

void UnitLoadSession::restoreUserRows() noexcept
{
    zeroTouchedRows();
    write({true, {}});
}

bool SectionForces(const AnalysisModel& m, long n, double x, double& M, double& V)
{
    try {
        const double Ln = store(spanXExtent(m, n));
        const double Pn = m.LoadRowValue(n, 2, 1);
        const double dn = m.LoadRowValue(n, 3, 1);
        const double V0 = m.ElementStartShear[n];
        const double M0 = m.ElementStartMoment[n];
        // Only the unit load acts, so the uniform load of the section span is 0.
        const double moment = MomentoSecao(x, 0.0, Pn, dn, Ln, V0, M0);
        const double shear = CortanteSecao(x, 0.0, Pn, dn, Ln, V0, M0);
        M = moment;
        V = shear;
        return true;
    } catch (const Error&) {
        return false;
    }
}

bool UnitLoadSession::li(long k, long n, double d, double x, double& M, double& V)
{
    const Contents before = now_;
    bool solved = false;
    try {
        clearRows();
        setUnitLoad(k, d);
        solveForLoadRows(m_);
        solved = SectionForces(m_, n, x, M, V);
    } catch (const Error&) {
    }
    zeroTouchedRows();
    write(before);
    return solved;
}

bool Li(AnalysisModel& m, long k, long n, double d, double x, double& M, double& V)
{
    UnitLoadSession rows(m);
    return rows.li(k, n, d, x, M, V);
}

namespace {

struct SectionOrdinates {
    double Vesq, Vdir, M;
    bool momentAtSection;  // M is the moment at xs itself
};

// The report's three ordinates of section (n, xs) for the unit-load solution
// the solver holds (the unit load on row k at d): the shear at xs ("Cortante
// esq."), the shear just right of the section ("Cortante dir.", see
// rightShearAbscissa) and the moment at xs. An evaluation that fails leaves
// the values before it, 0 at first.
SectionOrdinates sectionOrdinates(const UnitLoadSolver& solver, long n, double xs, long k, double d)
{
    const Real Ln = spanXExtent(solver.model(), n);
    SectionOrdinates o{};
    double M = 0;
    // The section span carries the unit load only when it is row k.
    const double sectionLoadAt = k == n ? d : xs;
    solver.sectionForces(n, rightShearAbscissa(xs, Ln, sectionLoadAt), M, o.Vdir);
    o.momentAtSection = solver.sectionForces(n, xs, M, o.Vesq);
    o.M = M;
    return o;
}

// The report, built in the model's report channel. The section's row n must
// exist (checked by the caller).
void writeInfluenceReport(UnitLoadSolver& solver, long n, double xs, SolvedPositions* solved,
                          std::vector<InfluenceOrdinate>* ordinates)
{
    AnalysisModel& m = solver.model();
    std::string& out = m.ReportFile;
    out.clear();
    out += "Linha de Influência de Esforços Cortantes e Momentos Fletores";
    out += CrLf;
    out += "para a seção à " + fieldReal(xs, 0, 3) + " m do trecho " + fieldInt(n, 0) + CrLf;

    for (long k = 1; k <= m.LoadRowCount[1]; ++k) {
        out += padText("Trecho", 7) + padText("Posição", 9) + padText("Cortante esq.", 14) +
               padText("Cortante dir.", 14) + padText("Momento", 14) + CrLf;
        for (int i = 0; i <= 10; ++i) {
            // A position that cannot be solved fails the whole report instead
            // of printing zeros; one solution serves all three ordinates.
            const double d = store(spanXExtent(m, k) / 10 * i);
            solver.solve(k, d);
            const SectionOrdinates o = sectionOrdinates(solver, n, xs, k, d);
            if (solved) solved->remember(k, d, o.momentAtSection ? std::optional<double>(o.M) : std::nullopt);

            out += fieldInt(k, 7) + fieldReal(d, 9, 2) + fieldReal(o.Vesq, 14, 6) + fieldReal(o.Vdir, 14, 6) +
                   fieldReal(o.M, 14, 6) + CrLf;
            if (ordinates) ordinates->push_back({k, d, o.Vesq, o.Vdir, o.M});
        }
    }
}

}  // namespace

std::string ComputeInfluenceReport(AnalysisModel& m, const std::string& trechoText,
                                   const std::string& posText, const std::string& dataFile,
                                   SolvedPositions* solved, std::vector<InfluenceOrdinate>* ordinates)
{
    // Nothing of an earlier command survives, even when this one fails at once.
    if (solved) *solved = SolvedPositions{};
    const long n = toInt(trechoText);
    const double xs = toReal(posText);
    // A section row that is not one of the beam's load rows would read a row
    // the model holds only by chance (zeros, or a larger earlier beam's span).
    if (n < 1 || n > m.LoadRowCount[1])
        throw IndexError("trecho " + fieldInt(n, 0) + " fora de 1.." + fieldInt(m.LoadRowCount[1], 0));
    if (solved) solved->start(n, xs);

    try {
        {
            // The solver puts the user's rows back when it goes.
            UnitLoadSolver solver(m);
            writeInfluenceReport(solver, n, xs, solved, ordinates);
        }
        writeTextFile(derivedName(dataFile, "LIM.sai"), m.ReportFile);
    } catch (const Error&) {
        // The first failure is the one that counts; a beam that cannot be
        // solved again for its own loads has nothing better to report.
        try {
            RestoreUserSolution(m);
        } catch (const Error&) {
        }
        throw;
    }
    RestoreUserSolution(m);
    return m.ReportFile;
}

}  // namespace kalvoro
