// The item tables of the three ISO modules, as the host must see them.
#pragma once

namespace testing_support {

struct ItemRow {
    const char* module;
    const char* name;
    int min_width, max_width, default_width, max_decimals;
};

inline constexpr ItemRow kIsoItemRows[] = {
    {"dtbasic1", "B8601DA", 8, 10, 10, 0},   {"dtbasic1", "B8601TM", 6, 15, 8, 6},
    {"dtbasic1", "B8601TZ", 9, 20, 14, 6},   {"dtbasic1", "B8601DT", 15, 26, 19, 6},
    {"dtbasic1", "B8601DZ", 20, 35, 26, 6},  {"dtbasic1", "B8601DN", 8, 10, 10, 0},
    {"dtbasic1", "B8601LZ", 9, 20, 14, 6},   {"dtbasic1", "B8601DX", 20, 35, 26, 6},
    {"dtbasic1", "B8601LX", 20, 35, 26, 6},  {"dtbasic1", "B8601TX", 9, 20, 14, 6},
    {"dtextnd1", "E8601DA", 10, 10, 10, 0},  {"dtextnd1", "E8601TM", 8, 15, 8, 6},
    {"dtextnd1", "E8601TZ", 9, 20, 14, 6},   {"dtextnd1", "E8601DT", 19, 26, 19, 6},
    {"dtextnd1", "E8601DZ", 20, 35, 26, 6},  {"dtextnd1", "E8601DN", 10, 10, 10, 0},
    {"dtextnd1", "E8601LZ", 9, 20, 14, 6},   {"dtextnd1", "E8601DX", 20, 35, 26, 6},
    {"dtextnd1", "E8601LX", 20, 35, 26, 6},  {"dtextnd1", "E8601TX", 9, 20, 14, 6},
    {"dtaltfm1", "IS8601DA", 10, 10, 10, 0}, {"dtaltfm1", "IS8601TM", 8, 15, 8, 6},
    {"dtaltfm1", "IS8601TZ", 9, 20, 14, 6},  {"dtaltfm1", "IS8601DT", 19, 26, 19, 6},
    {"dtaltfm1", "IS8601DZ", 20, 35, 26, 6}, {"dtaltfm1", "IS8601DN", 10, 10, 10, 0},
    {"dtaltfm1", "IS8601LZ", 9, 20, 14, 6},
};

}  // namespace testing_support
