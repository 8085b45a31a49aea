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

bool UnitLoadSession::li(long k, long n, double d, double x, double& M, double& V)
{
    const Contents before = now_;
    const auto putBack = [&] {
        zeroTouchedRows();
        write(before);
    };
    try {
        clearRows();
        setUnitLoad(k, d);
        solveForLoadRows(m_);

        const double Ln = store(spanXExtent(m_, n));
        const double Pn = m_.LoadRowValue(n, 2, 1);
        const double dn = m_.LoadRowValue(n, 3, 1);
        const double V0 = m_.ElementStartShear[n];
        const double M0 = m_.ElementStartMoment[n];
        // Only the unit load acts, so the uniform load of the section span is 0.
        const double moment = MomentoSecao(x, 0.0, Pn, dn, Ln, V0, M0);
        const double shear = CortanteSecao(x, 0.0, Pn, dn, Ln, V0, M0);
        putBack();
        M = moment;
        V = shear;
        return true;
    } catch (const Error&) {
        putBack();
        return false;
    }
}

bool Li(AnalysisModel& m, long k, long n, double d, double x, double& M, double& V)
{
    UnitLoadSession rows(m);
    return rows.li(k, n, d, x, M, V);
}

namespace {

// The report, built in the model's report channel. The section's row n must
// exist (checked by the caller).
void writeInfluenceReport(AnalysisModel& m, UnitLoadSession& rows, long n, double xs,
                          std::vector<InfluenceOrdinate>* ordinates)
{
    std::string& out = m.ReportFile;
    out.clear();
    out += "Linha de Influência de Esforços Cortantes e Momentos Fletores";
    out += CrLf;
    out += "para a seção à " + fieldReal(xs, 0, 3) + " m do trecho " + fieldInt(n, 0) + CrLf;

    for (long k = 1; k <= m.LoadRowCount[1]; ++k) {
        out += padText("Trecho", 7) + padText("Posição", 9) + padText("Cortante esq.", 14) +
               padText("Cortante dir.", 14) + padText("Momento", 14) + CrLf;
        for (int i = 0; i <= 10; ++i) {
            // The command solves every position itself before the two section
            // evaluations: a position that cannot be solved fails the whole
            // report instead of printing zeros.
            rows.clearRows();
            const double d = store(spanXExtent(m, k) / 10 * i);
            rows.setUnitLoad(k, d);
            solveForLoadRows(m);

            double M = 0, Vdir = 0, Vesq = 0;
            // The section span carries the unit load only when it is row k.
            const double sectionLoadAt = k == n ? d : xs;
            rows.li(k, n, d, rightShearAbscissa(xs, spanXExtent(m, n), sectionLoadAt), M, Vdir);
            // The moment reported is the one at xs itself.
            rows.li(k, n, d, xs, M, Vesq);

            out += fieldInt(k, 7) + fieldReal(d, 9, 2) + fieldReal(Vesq, 14, 6) + fieldReal(Vdir, 14, 6) +
                   fieldReal(M, 14, 6) + CrLf;
            if (ordinates) ordinates->push_back({k, d, Vesq, Vdir, M});
        }
    }
}

}  // namespace

std::string ComputeInfluenceReport(AnalysisModel& m, const std::string& trechoText,
                                   const std::string& posText, const std::string& dataFile,
                                   std::vector<InfluenceOrdinate>* ordinates)
{
    const long n = toInt(trechoText);
    const double xs = toReal(posText);
    // A section row that is not one of the beam's load rows would read a row
    // the model holds only by chance (zeros, or a larger earlier beam's span).
    if (n < 1 || n > m.LoadRowCount[1])
        throw IndexError("trecho " + fieldInt(n, 0) + " fora de 1.." + fieldInt(m.LoadRowCount[1], 0));

    UnitLoadSession rows(m);
    try {
        writeInfluenceReport(m, rows, n, xs, ordinates);
        writeTextFile(derivedName(dataFile, "LIM.sai"), m.ReportFile);
    } catch (const Error&) {
        rows.restoreUserRows();
        // The first failure is the one that counts; a beam that cannot be
        // solved again for its own loads has nothing better to report.
        try {
            RestoreUserSolution(m);
        } catch (const Error&) {
        }
        throw;
    }
    rows.restoreUserRows();
    RestoreUserSolution(m);
    return m.ReportFile;
}

}  // namespace kalvoro
