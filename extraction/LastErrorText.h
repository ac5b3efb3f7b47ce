// The last-error text: the one message that says why the latest failing step of the 3D content
// extraction failed. A failing step stores its message and returns 0; the Export command shows
// the text. Nothing clears it: only the next failure replaces it.
#ifndef VANTRELL_EXTRACTION_LASTERRORTEXT_H
#define VANTRELL_EXTRACTION_LASTERRORTEXT_H

#include "mfc/CStringT.h"

// Replaces the stored text with a copy of `text`.
void SetLastErrorText(const CStringT<char>& text);

// A copy of the stored text; the empty text before the first failure.
CStringT<char> GetLastErrorText();

#endif
