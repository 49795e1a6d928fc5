// A signed integer, right-justified in a fixed field.
#include "abi/call_block.h"
#include "text/text.h"

namespace {

int too_narrow(char* field, int w) {
    fill_asterisks(field, w);
    return status::kFieldTooNarrow;
}

}  // namespace

// Digits are produced from the right. A negative value is worked on as a
// negative number (digit = -(v % 10)), so the most negative value needs no
// special case. Leading zeros are never written.
int wzclchr(std::int64_t value, char* field, int w) {
    int cursor = w - 1;
    if (cursor < 0) return status::kFieldTooNarrow;
    if (value >= 0) {
        while (value >= 10) {
            if (cursor == 0) return too_narrow(field, w);
            field[cursor--] = static_cast<char>('0' + value % 10);
            value /= 10;
        }
        field[cursor] = static_cast<char>('0' + value);
    } else {
        do {
            if (cursor == 0) return too_narrow(field, w);
            field[cursor--] = static_cast<char>('0' - value % 10);
            value /= 10;
        } while (value != 0);
        field[cursor] = '-';
    }
    fill_blanks(field, cursor);
    return status::kOk;
}
