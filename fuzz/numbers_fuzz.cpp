// The locale-free number readers and writers: any text parses or is refused,
// and every number written in the general format reads back.

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "data/numbers.h"
#include "engine/text_fields.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    if (const auto i = kalvoro::parseInt(text)) {
        if (kalvoro::parseInt(std::to_string(*i)) != i) std::abort();
    }
    if (const auto v = kalvoro::parseReal(text)) {
        if (!std::isfinite(*v)) std::abort();
        const auto back = kalvoro::parseReal(kalvoro::formatGeneral(*v, 12));
        if (!back) std::abort();
        if (*v != 0 && std::fabs(*back - *v) > std::fabs(*v) * 1e-11) std::abort();
        (void)kalvoro::formatMagnitude(*v, 8);
        (void)kalvoro::fieldReal(*v, 14, 6);
    }
    if (size >= sizeof(double)) {
        double v;
        std::memcpy(&v, data, sizeof v);
        if (std::isfinite(v)) {
            const auto back = kalvoro::parseReal(kalvoro::formatGeneral(v, 12));
            if (!back) std::abort();
            (void)kalvoro::formatMagnitude(v, 7);
            (void)kalvoro::fieldReal(v, 11, 4);
        }
    }
    return 0;
}
