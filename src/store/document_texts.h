#pragma once
// The program's built-in document texts: headings, labels and notes of printouts and reports,
// numbered 0 to 125.
#include <string>

namespace kovra::store {

inline constexpr int document_text_count = 126;

// Text n in the internal Mazovia code page (converted once, on first use). Numbers outside
// 0..125 give an empty text.
const std::string& document_text(int n);

// Text n as UTF-8 for the screen.
const char* document_text_utf8(int n);

} // namespace kovra::store
