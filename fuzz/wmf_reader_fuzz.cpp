// Any bytes given to the metafile reader give a recording or an error; a
// recording it accepts is written again and must read back to itself.

#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "diagrams/wmf.h"
#include "engine/errors.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    kalvoro::Recording rec;
    try {
        rec = kalvoro::readWmf(std::string_view(reinterpret_cast<const char*>(data), size));
    } catch (const kalvoro::Error&) {
        return 0;
    }
    // Text that Windows-1252 cannot hold may not survive; everything else must.
    const kalvoro::Recording again = kalvoro::readWmf(kalvoro::wmfBytes(rec));
    if (again.width != rec.width || again.height != rec.height || again.ops.size() != rec.ops.size())
        std::abort();
    return 0;
}
