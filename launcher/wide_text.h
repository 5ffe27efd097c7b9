#pragma once
// Copies into fixed wide-text buffers: the result is always terminated and never overruns.
#include <cstddef>

// Copies src into dst of cap units (terminator included). Returns false when src had to be cut.
bool copyText(wchar_t* dst, size_t cap, const wchar_t* src);

// Appends src to the text already in dst. Returns false when src had to be cut.
bool appendText(wchar_t* dst, size_t cap, const wchar_t* src);

// Exact code-unit equality; a null text equals nothing.
bool sameText(const wchar_t* a, const wchar_t* b);
