#include "checked_array.h"

namespace kalvoro::detail {

void throwIndex(const char* name, long index, long last)
{
    throw IndexError("índice fora dos limites: " + std::string(name) + "[" + std::to_string(index) +
                     "], limites 1.." + std::to_string(last));
}

}  // namespace kalvoro::detail
