// Reads a decimal number ("-1.5e3") from text, whatever the C locale: the
// desktop's C++ library does it with std::from_chars, the browser's (which
// lacks it for floating point) with the C library in the "C" locale.
#ifndef ZV_D3DX9_XFILE_DECIMALTEXT_H
#define ZV_D3DX9_XFILE_DECIMALTEXT_H

// The number at the start of [first, last) into `value`; returns the end of
// the number, or nullptr when none starts there or it is out of range.
const char* readDecimal(const char* first, const char* last, double& value);

#endif
