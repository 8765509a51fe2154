// strtod in the "C" locale, held to what from_chars reads: decimal only (no
// hexadecimal, no "inf" or "nan"), within [first, last).
#include "d3dx9/xfile/DecimalText.h"

#include <cerrno>
#include <clocale>
#include <cstdlib>
#include <cstring>

const char* readDecimal(const char* first, const char* last, double& value) {
    char text[128];
    size_t n = size_t(last - first);
    if (n == 0) return nullptr;
    if (n >= sizeof text) n = sizeof text - 1;  // no number is this long; the rest is not one
    std::memcpy(text, first, n);
    text[n] = '\0';
    const char* p = text + (text[0] == '-' ? 1 : 0);
    if (!((*p >= '0' && *p <= '9') || *p == '.')) return nullptr;
    if (p[0] == '0' && (p[1] == 'x' || p[1] == 'X')) {
        value = text[0] == '-' ? -0.0 : 0.0;  // from_chars stops after the 0
        return first + (p - text) + 1;
    }
    static locale_t c = newlocale(LC_ALL_MASK, "C", locale_t(0));
    char* end = nullptr;
    errno = 0;
    double v = strtod_l(text, &end, c);
    if (end == text || errno == ERANGE) return nullptr;
    value = v;
    return first + (end - text);
}
