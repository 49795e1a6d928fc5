// Copying, deleting and justifying fixed-width text in place.
#include <cstring>

#include "text/text.h"

void vzmp(const char* src, int srclen, char* dst, int dstlen) {
    if (dstlen <= 0) return;
    const int copied = srclen <= 0 ? 0 : (srclen < dstlen ? srclen : dstlen);
    if (copied > 0) std::memmove(dst, src, static_cast<std::size_t>(copied));
    fill_blanks(dst + copied, dstlen - copied);
}

int wzstdel(char* text, int n, const char* set, int setn) {
    const bool string_mode = n < 0;
    if (string_mode) n = static_cast<int>(std::strlen(text));
    if (n == 0) return 0;
    if (setn < 0) setn = static_cast<int>(std::strlen(set));
    if (setn == 0) return n;

    std::uint64_t member[4] = {};
    for (int i = 0; i < setn; ++i) {
        const unsigned char c = static_cast<unsigned char>(set[i]);
        member[c >> 6] |= std::uint64_t{1} << (c & 63);
    }
    int kept = 0;
    for (int i = 0; i < n; ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (member[c >> 6] >> (c & 63) & 1) continue;
        text[kept++] = static_cast<char>(c);
    }
    if (string_mode)
        text[kept] = '\0';
    else
        fill_blanks(text + kept, n - kept);
    return kept;
}

void wzstjls(char* text, int n, int code, int* length, int* start) {
    int lead = 0;
    while (lead < n && text[lead] == ' ') ++lead;
    if (lead >= n) {
        if (length) *length = 0;
        if (start) *start = 0;
        return;
    }
    int last = n - 1;
    while (text[last] == ' ') --last;
    const int len = last - lead + 1;

    int target = lead;
    switch (code) {
        case 'L': case 'l': target = 0; break;
        case 'R': case 'r': target = n - len; break;
        case 'C': case 'c': target = (n - len) / 2; break;
        default: break;
    }
    if (target != lead) {
        std::memmove(text + target, text + lead, static_cast<std::size_t>(len));
        if (target < lead) {
            // Moved left: blank what lies right of the new end, up to the old end.
            fill_blanks(text + target + len, lead - target);
        } else {
            fill_blanks(text + lead, target - lead);
        }
    }
    if (length) *length = len;
    if (start) *start = target;
}
