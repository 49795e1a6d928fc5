// wzstrnc: replace one byte value by another, in place.
#include "text/translate.h"

#include "text/text.h"

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace text_bodies {

void translate_general(char* text, int n, char to, char from) {
    for (int i = 0; i < n; ++i)
        if (text[i] == from) text[i] = to;
}

#if defined(__x86_64__)

// 16 bytes per step: the matching lanes take `to`, the others keep their byte.
void translate_sse2(char* text, int n, char to, char from) {
    const __m128i f = _mm_set1_epi8(from);
    const __m128i t = _mm_set1_epi8(to);
    int i = 0;
    for (; i + 16 <= n; i += 16) {
        __m128i* p = reinterpret_cast<__m128i*>(text + i);
        const __m128i v = _mm_loadu_si128(p);
        const __m128i m = _mm_cmpeq_epi8(v, f);
        _mm_storeu_si128(p, _mm_or_si128(_mm_and_si128(m, t), _mm_andnot_si128(m, v)));
    }
    translate_general(text + i, n - i, to, from);
}

__attribute__((target("avx2"))) void translate_avx2(char* text, int n, char to, char from) {
    const __m256i f = _mm256_set1_epi8(from);
    const __m256i t = _mm256_set1_epi8(to);
    int i = 0;
    for (; i + 32 <= n; i += 32) {
        __m256i* p = reinterpret_cast<__m256i*>(text + i);
        const __m256i v = _mm256_loadu_si256(p);
        _mm256_storeu_si256(p, _mm256_blendv_epi8(v, t, _mm256_cmpeq_epi8(v, f)));
    }
    translate_sse2(text + i, n - i, to, from);
}

TranslateBody* translate_chosen() {
    static TranslateBody* const body = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("avx2") ? &translate_avx2 : &translate_sse2;
    }();
    return body;
}

#else

TranslateBody* translate_chosen() { return &translate_general; }

#endif

}  // namespace text_bodies

void wzstrnc(char* text, int n, int to, int from) {
    if (!text || n <= 0) return;
    text_bodies::translate_chosen()(text, n, static_cast<char>(to), static_cast<char>(from));
}
