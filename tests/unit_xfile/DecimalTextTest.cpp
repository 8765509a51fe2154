// The browser build reads the numbers of text .x files with its own
// readDecimal (its C++ library has no floating-point from_chars). Both are
// compiled here, the browser's under another name, and must agree on the
// value and on where the number ends.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "d3dx9/xfile/DecimalText.h"

#define readDecimal readDecimalInBrowser
#include "../../platform/web/DecimalText.cpp"
#undef readDecimal

TEST(DecimalText, BrowserReaderAgreesWithTheDesktopOne) {
    const char* words[] = {"1.5",      "-0.25e3", ".5",     "5.",      "0",      "-0",     "007",
                           "1.#QNAN0", "-1.#IND00", "1,5",  "2;",      "3e",     "1e+2x",  "0x10",
                           "1e400",    "-1e400",  "1e-300", "abc",    "-",       ".",      "",
                           "123456789012345678901234567890.25", "0.1000000000000000055511151231257827"};
    for (const char* word : words) {
        SCOPED_TRACE(word);
        const char* last = word + std::strlen(word);
        double desktop = -7.0, browser = -7.0;
        const char* d = ::readDecimal(word, last, desktop);
        const char* b = readDecimalInBrowser(word, last, browser);
        ASSERT_EQ(d == nullptr, b == nullptr);
        if (!d) continue;
        EXPECT_EQ(d - word, b - word);
        EXPECT_EQ(desktop, browser);
        EXPECT_EQ(std::signbit(desktop), std::signbit(browser));
    }
}
