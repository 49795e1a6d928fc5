// The extension loaded into an SQLite database by this (sanitized) program:
// results, NULLs, errors and a table of many rows in one statement.
#include <sqlite3.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace {

class Extension : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(sqlite3_open(":memory:", &db_), SQLITE_OK);
        ASSERT_EQ(sqlite3_enable_load_extension(db_, 1), SQLITE_OK);
        char* error = nullptr;
        ASSERT_EQ(sqlite3_load_extension(db_, ISOFMT_SQLITE, nullptr, &error), SQLITE_OK) << (error ? error : "");
    }
    void TearDown() override { sqlite3_close(db_); }

    // The first column of every row, or the error message as the only entry.
    std::vector<std::optional<std::string>> rows(const std::string& sql) {
        std::vector<std::optional<std::string>> out;
        sqlite3_stmt* st = nullptr;
        if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &st, nullptr) != SQLITE_OK) return {sqlite3_errmsg(db_)};
        int rc;
        while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
            const auto* t = reinterpret_cast<const char*>(sqlite3_column_text(st, 0));
            out.push_back(t ? std::optional<std::string>(std::string(t, sqlite3_column_bytes(st, 0))) : std::nullopt);
        }
        if (rc != SQLITE_DONE) out = {std::string("error: ") + sqlite3_errmsg(db_)};
        sqlite3_finalize(st);
        return out;
    }

    sqlite3* db_ = nullptr;
};

TEST_F(Extension, OneValue) {
    struct Case {
        std::string sql;
        std::optional<std::string> expected;
    };
    const Case cases[] = {
        {"SELECT isofmt_format('E8601DZ26.3', 0)", "  1960-01-01T00:00:00.000Z"},
        {"SELECT isofmt_format('E8601DA', NULL)", "         ."},
        {"SELECT isofmt_format('E8601DA', '2008-09-15')", "2008-09-15"},
        {"SELECT isofmt_format('IS860DU5', '00012FFFFFFFFFFC', 1)", "P1Y2M"},
        {"SELECT isofmt_format('IS860VL', NULL)", std::string(40, ' ')},
        {"SELECT isofmt_format('IS860VL', 'short')", std::string(40, '*')},
        {"SELECT isofmt_informat('IS860VL', 'P1D/P2D')", std::nullopt},
        {"SELECT isofmt_informat('IS860DU', NULL)", std::nullopt},
        {"SELECT isofmt_informat('IS860DU', 'P1Y2M')", "00012FFFFFFFFFFC"},
        {"SELECT isofmt_informat('IS860DU', '" + std::string(300, 'P') + "')", std::nullopt},
        {"SELECT isofmt_problem('IS860VL', 'P1D/P2D')", "14: interval has 2 durations"},
        {"SELECT isofmt_problem('IS860DU', '" + std::string(300, 'P') + "')", "2: number not found where expected"},
        {"SELECT isofmt_problem('IS860VL', '2020-01-01/P1D')", std::nullopt},
        {"SELECT isofmt_format('NOSUCH', 0)", "error: isofmt_format: unknown format 'NOSUCH' (see 'isofmt list')"},
        {"SELECT isofmt_informat(NULL, 'P1D')", "error: isofmt_informat: FORMAT must be a text"},
        {"SELECT isofmt_format('E8601DA', 'x')",
         "error: isofmt_format: not a number or an ISO 8601 date, time or datetime: 'x'"},
    };
    for (const Case& c : cases) {
        auto got = rows(c.sql);
        ASSERT_EQ(got.size(), 1u) << c.sql;
        EXPECT_EQ(got[0], c.expected) << c.sql;
    }
}

// Many rows through one statement: the FORMAT is read once and kept with
// the statement, and every row gets its own result.
TEST_F(Extension, ManyRows) {
    auto got = rows(
        "WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < 2999) "
        "SELECT isofmt_format(CASE WHEN i % 2 THEN 'E8601DA' ELSE 'e8601da' END, "
        "CASE WHEN i % 7 = 0 THEN NULL ELSE i END) FROM n");
    ASSERT_EQ(got.size(), 3000u);
    EXPECT_EQ(got[0], "         .");
    EXPECT_EQ(got[1], "1960-01-02");
    EXPECT_EQ(got[2999], "1968-03-18");
}

}  // namespace
