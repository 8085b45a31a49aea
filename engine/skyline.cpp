// Sizing of the skyline (profile) storage of the global stiffness matrix.
//
// Column j of the upper triangle is stored from its top row t(j) down to the
// diagonal, columns one after the other. t(j) is the lowest equation coupled to
// j through any element, so the height of column j is j - t(j) + 1 and, after
// accumulation, DiagPointer[j] = h(1) + ... + h(j) is the position of (j, j).

#include <array>
#include <charconv>
#include <string>

#include "engine/arithmetic.h"
#include "engine/engine.h"

namespace kalvoro {

namespace {

// The number right-aligned in six characters, as the storage message shows it.
std::string width6(std::int32_t v)
{
    std::array<char, 16> buf{};
    const auto res = std::to_chars(buf.data(), buf.data() + buf.size(), v);
    std::string digits(buf.data(), res.ptr);
    if (digits.size() < 6) digits.insert(0, 6 - digits.size(), ' ');
    return digits;
}

}  // namespace

void ColunasAltura(AnalysisModel& m)
{
    const std::int32_t dof = m.DofPerNode;
    for (std::int32_t j = 1; j <= m.EquationCount; ++j) m.DiagPointer[j] = 0;

    for (std::int32_t e = 1; e <= m.ElementCount; ++e) {
        // The element's lowest equation belongs to its lowest-numbered node
        // (nodes numbered 0 are absent).
        std::int32_t a = 1;
        for (std::int32_t k = 2; k <= m.NodesPerElement; ++k) {
            const std::int32_t n = m.Incidence(e, k);
            if (n != 0 && n < m.Incidence(e, a)) a = k;
        }
        const std::int32_t lowest = addInt(mulInt(subInt(m.Incidence(e, a), 1), dof), 1);

        for (std::int32_t k = 1; k <= m.NodesPerElement; ++k) {
            const std::int32_t n = m.Incidence(e, k);
            if (n == 0) continue;
            for (std::int32_t d = 1; d <= dof; ++d) {
                const std::int32_t g = addInt(mulInt(subInt(n, 1), dof), d);
                const std::int32_t height = addInt(subInt(g, lowest), 1);
                if (m.DiagPointer[g] < height) m.DiagPointer[g] = height;
            }
        }
    }

    for (std::int32_t j = 2; j <= m.EquationCount; ++j)
        m.DiagPointer[j] = addInt(m.DiagPointer[j], m.DiagPointer[j - 1]);

    // No equations at all fails here: there is no DiagPointer[0].
    const std::int32_t need = m.DiagPointer[m.EquationCount];
    if (need > capacity::SkylineTerms)
        throw EngineError("memoria insuficiente " + width6(need) +
                          width6(static_cast<std::int32_t>(capacity::SkylineTerms)));
}

}  // namespace kalvoro
