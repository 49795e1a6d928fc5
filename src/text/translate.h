// The bodies behind wzstrnc: a general byte loop and vector bodies for
// processors with wide registers. wzstrnc picks one once, at its first call;
// every body gives the same result.
#pragma once

namespace text_bodies {

using TranslateBody = void(char* text, int n, char to, char from);

TranslateBody translate_general;
#if defined(__x86_64__)
TranslateBody translate_sse2;
TranslateBody translate_avx2;
#endif

// The body wzstrnc uses on this processor.
TranslateBody* translate_chosen();

}  // namespace text_bodies
