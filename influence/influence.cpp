// The influence-line computation: a downward unit load stands in turn at the
// tenths of every span and the whole beam is solved for it; the section's shear
// and moment come from the span functions with the section span's own load,
// which is the unit load when it stands on that span and nothing otherwise.

#include "influence/influence.h"

#include <array>
#include <cmath>

#include "data/file_names.h"
#include "data/numbers.h"
#include "data/text_file.h"
#include "engine/arithmetic.h"
#include "engine/engine.h"
#include "engine/errors.h"
#include "engine/nodal_loads.h"
#include "engine/section_forces.h"
#include "engine/text_fields.h"

namespace kalvoro {

namespace {

constexpr const char* CrLf = "\r\n";

// The q, P, d values of load case 1 for every one of the 400 load rows. Only
// load case 1 is kept: the reader never fills the others, so zero is what a
// read leaves in them too.
class LoadCase1Rows {
public:
    explicit LoadCase1Rows(const AnalysisModel& m)
    {
        for (long r = 1; r <= capacity::LoadRows; ++r)
            for (long c = 1; c <= 3; ++c) values_[index(r, c)] = m.LoadRowValue(r, c, 1);
    }

    // Every index is within the model's bounds, so putting the rows back cannot fail.
    void restore(AnalysisModel& m) const noexcept
    {
        for (long r = 1; r <= capacity::LoadRows; ++r)
            for (long c = 1; c <= 3; ++c) m.LoadRowValue(r, c, 1) = values_[index(r, c)];
    }

private:
    static std::size_t index(long r, long c) { return static_cast<std::size_t>((r - 1) * 3 + (c - 1)); }
    std::array<double, capacity::LoadRows * 3> values_{};
};

// The unit load alone: every row, component and load case zero, then P = -1
// at distance d on row k (q stays 0).
void placeUnitLoad(AnalysisModel& m, long k, double d)
{
    m.LoadRowValue.fill(0.0);
    m.LoadRowValue(k, 2, 1) = -1.0;
    m.LoadRowValue(k, 3, 1) = d;
}

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

bool Li(AnalysisModel& m, long k, long n, double d, double x, double& M, double& V)
{
    const LoadCase1Rows kept(m);
    try {
        placeUnitLoad(m, k, d);
        solveForLoadRows(m);

        const double Ln = store(spanXExtent(m, n));
        const double Pn = m.LoadRowValue(n, 2, 1);
        const double dn = m.LoadRowValue(n, 3, 1);
        const double V0 = m.ElementStartShear[n];
        const double M0 = m.ElementStartMoment[n];
        // Only the unit load acts, so the uniform load of the section span is 0.
        const double moment = MomentoSecao(x, 0.0, Pn, dn, Ln, V0, M0);
        const double shear = CortanteSecao(x, 0.0, Pn, dn, Ln, V0, M0);
        kept.restore(m);
        M = moment;
        V = shear;
        return true;
    } catch (const Error&) {
        kept.restore(m);
        return false;
    }
}

namespace {

// The report, built in the model's report channel. The section's row n must
// exist (checked by the caller).
void writeInfluenceReport(AnalysisModel& m, long n, double xs)
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
            m.LoadRowValue.fill(0.0);
            const double d = store(spanXExtent(m, k) / 10 * i);
            m.LoadRowValue(k, 2, 1) = -1.0;
            m.LoadRowValue(k, 3, 1) = d;
            solveForLoadRows(m);

            const Real Ln = spanXExtent(m, n);
            double M = 0, Vdir = 0, Vesq = 0;
            // The shear just right of the section is taken a hundredth of the
            // span further on; the moment reported is the one at xs itself.
            Li(m, k, n, d, store(xs + Ln / 100), M, Vdir);
            Li(m, k, n, d, xs, M, Vesq);

            out += fieldInt(k, 7) + fieldReal(d, 9, 2) + fieldReal(Vesq, 14, 6) + fieldReal(Vdir, 14, 6) +
                   fieldReal(M, 14, 6) + CrLf;
        }
    }
}

}  // namespace

std::string ComputeInfluenceReport(AnalysisModel& m, const std::string& trechoText,
                                   const std::string& posText, const std::string& dataFile)
{
    const long n = toInt(trechoText);
    const double xs = toReal(posText);
    // A section row that is not one of the beam's load rows would read a row
    // the model holds only by chance (zeros, or a larger earlier beam's span).
    if (n < 1 || n > m.LoadRowCount[1])
        throw IndexError("trecho " + fieldInt(n, 0) + " fora de 1.." + fieldInt(m.LoadRowCount[1], 0));

    const LoadCase1Rows kept(m);
    try {
        writeInfluenceReport(m, n, xs);
        writeTextFile(derivedName(dataFile, "LIM.sai"), m.ReportFile);
    } catch (const Error&) {
        kept.restore(m);
        // The first failure is the one that counts; a beam that cannot be
        // solved again for its own loads has nothing better to report.
        try {
            RestoreUserSolution(m);
        } catch (const Error&) {
        }
        throw;
    }
    kept.restore(m);
    RestoreUserSolution(m);
    return m.ReportFile;
}

}  // namespace kalvoro
