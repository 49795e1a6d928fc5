// Helpers of the rendering tests: one host for the statically linked code,
// exact-size value buffers, output buffers with a guard zone after the
// capacity, and call blocks for the duration and interval formats.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "duration/duration.h"
#include "support/static_host.h"

namespace write_test {

// The statically linked code talks to this host while a test suite runs.
class WithHost : public ::testing::Test {
protected:
    static void SetUpTestSuite() { host_ = new testing_support::StaticHost(); }
    static void TearDownTestSuite() {
        delete host_;
        host_ = nullptr;
    }

private:
    static inline testing_support::StaticHost* host_ = nullptr;
};

// A value held in a heap block of exactly its length, so that a read past
// it is caught under AddressSanitizer.
class ExactText {
public:
    explicit ExactText(std::string_view s) : data_(new char[s.size() ? s.size() : 1]), size_(s.size()) {
        std::memcpy(data_.get(), s.data(), s.size());
    }
    const char* data() const { return data_.get(); }
    int size() const { return static_cast<int>(size_); }

private:
    std::unique_ptr<char[]> data_;
    std::size_t size_;
};

// An output buffer of `capacity` bytes pre-filled with '#', followed by a
// guard zone that no routine may touch.
class Output {
public:
    static constexpr int kGuard = 32;
    explicit Output(int capacity) : capacity_(capacity), bytes_(static_cast<std::size_t>(capacity + kGuard), '#') {}
    char* data() { return bytes_.data(); }
    int capacity() const { return capacity_; }
    bool guard_intact() const {
        for (int i = capacity_; i < capacity_ + kGuard; ++i)
            if (bytes_[static_cast<std::size_t>(i)] != '#') return false;
        return true;
    }
    std::string all() const { return std::string(bytes_.data(), static_cast<std::size_t>(capacity_)); }

private:
    int capacity_;
    std::vector<char> bytes_;
};

inline FormatBlock block_for(const char* value, int width, Output& out) {
    FormatBlock b{};
    b.width = width;
    b.value = value;
    b.output = out.data();
    b.capacity = out.capacity();
    b.output_length = -7;  // shows whether a routine set it
    return b;
}

inline std::string written(const FormatBlock& b) {
    return std::string(b.output, b.output_length > 0 ? static_cast<std::size_t>(b.output_length) : 0);
}

inline std::string blanks(int n) { return std::string(static_cast<std::size_t>(n), ' '); }
inline std::string stars(int n) { return std::string(static_cast<std::size_t>(n), '*'); }

// `text` left-justified and blank-padded to `width`.
inline std::string padded(std::string_view text, int width) {
    std::string s(text);
    s.resize(static_cast<std::size_t>(width), ' ');
    return s;
}

struct Rendered {
    std::string text;  // the output field, trailing blanks removed
    int status;
};

// Decodes 16 hexadecimal digits and renders them into a field of `width`.
inline Rendered render(std::string_view hex, std::int32_t options, int width = 60) {
    Entity e{};
    EXPECT_EQ(dehexify(hex.data(), static_cast<int>(hex.size()), e.packed), 0) << hex;
    EXPECT_EQ(convert_from_bcd(&e), 0) << hex;
    Output out(width);
    FormatBlock b = block_for(nullptr, width, out);
    const int st = convert_to_text(&e, &b, options);
    EXPECT_TRUE(out.guard_intact());
    std::string text = written(b);
    EXPECT_EQ(static_cast<int>(text.size()), width);
    text.erase(text.find_last_not_of(' ') + 1);
    return {text, st};
}

}  // namespace write_test
