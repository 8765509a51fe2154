#include "d3dx9/xfile/DecimalText.h"

#include <charconv>

const char* readDecimal(const char* first, const char* last, double& value) {
    auto result = std::from_chars(first, last, value);
    return result.ec == std::errc() ? result.ptr : nullptr;
}
