// The duration and interval formats: packed hexadecimal values shown as
// ISO 8601 text, fitted into the caller's field.
#include <cstring>

#include "abi/problems.h"
#include "duration/duration.h"
#include "duration/format_support.h"
#include "binding/hostcall.h"
#include "host/module_state.h"
#include "text/text.h"

namespace {

using shown::field_length;

constexpr int kDigits = 16;           // one packed duration
constexpr int kIntervalDigits = 32;   // two of them
// The longest texts the duration formats show.
constexpr int kDurationWork = 24;
constexpr int kDatetimeWork = 23;
constexpr std::int32_t kCutBits = render_option::kFillX | render_option::kFillHyphen;

// Reading a packed value fails with kNotHex, or with code 4 when its digits do not decode.
// The blank test covers at most the value's own characters.
std::int32_t read_packed(const FormatBlock* b, int digits, Entity* e) {
    const char* text = static_cast<const char*>(b->value);
    const int blank_span = b->width < digits ? b->width : digits;
    if (vzatl(' ', text, blank_span)) {
        for (int i = 0; i < digits / kDigits; ++i) std::memset(e[i].packed, 0xFF, sizeof e[i].packed);
    } else {
        for (int i = 0; i < digits / kDigits; ++i)
            if (dehexify(text + i * kDigits, kDigits, e[i].packed) != 0) return status::kNotHex;
    }
    for (int i = 0; i < digits / kDigits; ++i)
        if (convert_from_bcd(&e[i]) != 0) return problem::kUnitInDatetime;
    return status::kOk;
}

// FitToTarget for a caller whose block's output_length is already the
// field's length: a text that fits is copied and blank-padded here.
inline std::int32_t fit(FormatBlock* b, const char* text, int length, int slash, std::int32_t mode) {
    const int field = b->output_length;
    if (length > field) return FitToTarget(b, text, length, slash, mode);
    std::memcpy(b->output, text, static_cast<std::size_t>(length));
    fill_blanks(b->output + length, field - length);
    return 0;
}

// The text of a packed duration, fitted into the caller's field. `room`
// (kLongestText at most) is the longest text the format shows: a longer one
// shows as asterisks of that width, and is fitted as such.
std::int32_t packed_duration_format(FormatBlock* b, std::int32_t options, int room) {
    Entity e;
    if (const std::int32_t st = read_packed(b, kDigits, &e); st != 0) return st;
    b->output_length = field_length(b);
    char text[shown::kLongestText];
    int length = 0;
    if (e.missing != missing_bit::kAll) {
        length = shown::render_text(e, options, text);
        if (length > room) {
            fill_asterisks(text, room);
            length = room;
        }
    }
    return fit(b, text, length, -1, options);
}

bool missing_value(const Entity& e) { return e.missing == missing_bit::kAll; }

std::int32_t options_for(const Entity& e, std::int32_t duration_options, std::int32_t datetime_options) {
    return e.is_datetime ? datetime_options : duration_options;
}

int no_room(FormatBlock* b, int field) {
    fill_asterisks(b->output, field);
    b->output_length = field;
    return problem::kNoRoom;
}

}  // namespace

std::int32_t is8601duf(FormatBlock* block, std::int32_t options) {
    return packed_duration_format(block, options, kDurationWork);
}

std::int32_t is8601pdf(FormatBlock* block, std::int32_t options) {
    return packed_duration_format(block, options, kDatetimeWork);
}

std::int32_t is8601vlf(FormatBlock* block, std::int32_t duration_options, std::int32_t datetime_options) {
    const int field = field_length(block);
    block->output_length = field;
    Entity halves[2];
    std::int32_t code = read_packed(block, kIntervalDigits, halves);
    if (code == 0) {
        if (missing_value(halves[0]) || missing_value(halves[1])) {
            fill_blanks(block->output, field);
            return status::kOk;
        }
        auto render = [&](const Entity& e, char* text) {
            return shown::render_text(e, options_for(e, duration_options, datetime_options), text);
        };
        // The synthesized start of a lone duration renders as nothing:
        // then the duration stands alone, without '/'.
        char area[2 * shown::kLongestText + 1];
        const int first = render(halves[0], area);
        const int second_start = first > 0 ? first + 1 : 0;
        if (first > 0) area[first] = '/';
        const int length = second_start + render(halves[1], area + second_start);
        code = fit(block, area, length, first, 0);
        if (code == 0) return status::kOk;
    }
    return n8601prob(block, kFillAsterisks, code);
}

int FitToTarget(FormatBlock* block, const char* text, int length, int slash, std::int32_t mode) {
    const int room = field_length(block);
    const int field = block->output_length < room ? (block->output_length > 0 ? block->output_length : 0) : room;
    char* out = block->output;
    const int L = length > 0 ? length : 0;
    if (L <= field) {
        vzmp(text, L, out, field);
        block->output_length = field;
        return 0;
    }

    const int dot = wzstpos(text, L, '.');
    if (dot < 0) {
        // Without a fraction the text may only be cut where nothing
        // significant is lost: no digit other than '0' beyond the field.
        if (!(mode & kCutBits)) return no_room(block, room);
        for (int i = field; i < L; ++i)
            if (hostcall::is_digit(text[i]) && text[i] != '0') return no_room(block, room);
        std::memmove(out, text, static_cast<std::size_t>(field));
        block->output_length = field;
        return 0;
    }

    // The first tail runs from the '.' to the end of its part; a second tail
    // from the next '.' after the first tail to the end of the text. Looking
    // for it only past the first tail keeps the two apart, so that exactly
    // the excess is removed and the text never outgrows the field.
    const int first_end = dot < slash && slash < L ? slash : L;
    const int k = first_end - dot;
    const int next = wzstpos(text + first_end, L - first_end, '.');
    const int j = next < 0 ? 0 : L - (first_end + next);
    const int excess = L - field;
    if (excess > k + j) return no_room(block, room);

    // Take characters from the ends of the tails alternately, first tail
    // first; a tail left with its '.' alone loses the '.' too.
    int r1 = (excess + 1) / 2 < k ? (excess + 1) / 2 : k;
    int r2 = excess - r1;
    if (r2 > j) {
        r2 = j;
        r1 = excess - j;
    }
    if (k - r1 == 1) r1 = k;
    if (j > 0 && j - r2 == 1) r2 = j;

    const int head = first_end - r1;
    const int middle = L - r2 - first_end;
    std::memmove(out, text, static_cast<std::size_t>(head));
    std::memmove(out + head, text + first_end, static_cast<std::size_t>(middle));
    const int kept = wzstdel(out, head + middle, " ", 1);
    vzmp(out, kept, out, field);
    block->output_length = field;
    return 0;
}
