import os
import random
import sqlite3
import subprocess

import pytest

from helpers import readme_blocks, tool

EXTENSION = os.environ["ISOFMT_SQLITE"]


@pytest.fixture
def db():
    connection = sqlite3.connect(":memory:")
    connection.enable_load_extension(True)
    connection.load_extension(EXTENSION)
    connection.enable_load_extension(False)
    yield connection
    connection.close()


def one(db, sql, *args):
    return db.execute(sql, args).fetchone()[0]


# A table of a few thousand datetimes through several formats, row by row
# against the tool.
@pytest.mark.parametrize("fmt", ["E8601DZ26.3", "E8601DA", "B8601DT", "CLKDT16", "CLKTIME11.2", "E8601LX"])
def test_table_agrees_with_the_tool(db, fmt):
    rng = random.Random(3)
    rows = [(i, None if i % 101 == 0 else round(rng.uniform(-3e9, 3e9), 2)) for i in range(4000)]
    db.execute("CREATE TABLE t(id INTEGER PRIMARY KEY, value REAL, text TEXT)")
    db.executemany("INSERT INTO t(id, value) VALUES (?, ?)", rows)
    db.execute("UPDATE t SET text = isofmt_format(?, value)", (fmt,))
    got = [text for (text,) in db.execute("SELECT text FROM t ORDER BY id")]
    assert got == tool("format", fmt, ["." if v is None else repr(v) for _, v in rows])


def test_intervals_agree_with_the_tool(db):
    texts = ["P1Y2M3DT4H5M6S", "-PT30M", "P1D/P2D", "2020-01-15T10:30:00/P1M", "P1M/2020-03-31", "",
             ".", "PT1.5S", "2020-01-01/2019-01-01", "xyz", "2020-02-30T00:00:00/P1D", "PPPP"] * 300
    db.execute("CREATE TABLE spans(id INTEGER PRIMARY KEY, span TEXT)")
    db.executemany("INSERT INTO spans(span) VALUES (?)", [(t,) for t in texts])
    got = db.execute("SELECT isofmt_informat('IS860VL', span), isofmt_problem('IS860VL', span), "
                     "isofmt_format('IS860VL', isofmt_informat('IS860VL', span)) FROM spans ORDER BY id").fetchall()
    expected = [line.split("\t") for line in tool("informat", "IS860VL", texts, "--status")]
    back = tool("format", "IS860VL", [e[0] for e in expected])
    for (packed, problem, text), want, want_text in zip(got, expected, back, strict=True):
        assert packed == (None if set(want[0]) <= {"F", " "} else want[0])
        assert problem == (None if want[1] == "0" else f"{want[1]}: {want[2]}")
        assert text == want_text


@pytest.mark.parametrize("sql, args, expected", [
    ("SELECT isofmt_format('E8601DZ26.3', 0)", (), "  1960-01-01T00:00:00.000Z"),
    ("SELECT isofmt_format('e8601da', ?)", ("2008-09-15",), "2008-09-15"),
    ("SELECT isofmt_format('E8601DA', ?)", ("17790",), "2008-09-15"),
    ("SELECT isofmt_format('E8601DA', NULL)", (), "         ."),
    ("SELECT isofmt_format('IS860DU', NULL)", (), " " * 24),
    ("SELECT isofmt_format('IS860DU', '0001203040506FFC', 1)", (), "P1Y2M3DT4H5M6S          "),
    ("SELECT isofmt_format('IS860DU', '0001203040506FFC', NULL)", (), "P00010203T040506        "),
    ("SELECT isofmt_informat('IS860DU', 'P1D')", (), "FFFFF01FFFFFFFFC"),
    ("SELECT isofmt_informat('IS860DU', NULL)", (), None),
    ("SELECT isofmt_informat('IS860DU', '.')", (), None),
    ("SELECT isofmt_informat('IS860DU', 'P1Y', 0x80)", (), "0001FFFFFFFFFFFC"),
    ("SELECT isofmt_problem('IS860DU', 'P1D')", (), None),
    ("SELECT isofmt_problem('IS860DU', NULL)", (), None),
    ("SELECT CAST(isofmt_problem('IS860VL', 'P1D/P2D') AS INTEGER)", (), 14),
])
def test_values(db, sql, args, expected):
    assert one(db, sql, *args) == expected


@pytest.mark.parametrize("sql, message", [
    ("SELECT isofmt_format('NOSUCH', 0)", "unknown format"),
    ("SELECT isofmt_format('IS860DU', 'P1D') || isofmt_informat('E8601DA', 'x')", "is a format, not an informat"),
    ("SELECT isofmt_format(5, 0)", "FORMAT must be a text"),
    ("SELECT isofmt_format('E8601DA', 'yesterday')", "not a number or an ISO 8601"),
    ("SELECT isofmt_format('IS860DU', 'x', 'one')", "options must be an integer"),
    ("SELECT isofmt_informat('IS860DU', 'P1D', 4294967296)", "not a 32-bit word"),
])
def test_errors(db, sql, message):
    with pytest.raises(sqlite3.OperationalError, match=message):
        db.execute(sql).fetchall()


def test_readme_example_in_the_shell(tmp_path):
    blocks = readme_blocks("SQLite")
    (script,), (output,) = [b for lang, b in blocks if lang == "sql"], [b for lang, b in blocks if lang == "text"]
    script = script.replace(".load build/bin/isofmt_sqlite", ".load " + os.path.splitext(EXTENSION)[0])
    run = subprocess.run(["sqlite3", ":memory:"], input=script, capture_output=True, text=True, check=True)
    assert run.stderr == "" and run.stdout == output


# Copied away from the plug-ins, the extension finds them only through
# ISOFMT_PLUGIN_PATH, whose first entry that holds one wins.
@pytest.mark.parametrize("path, works", [(None, False), ("/nonexistent", False), ("/nonexistent:PLUGINS", True)])
def test_plugin_path(tmp_path, path, works):
    alone = tmp_path / "isofmt_sqlite.so"
    alone.write_bytes(open(EXTENSION, "rb").read())
    env = dict(os.environ)
    env.pop("ISOFMT_PLUGIN_PATH", None)
    if path:
        env["ISOFMT_PLUGIN_PATH"] = path.replace("PLUGINS", os.path.dirname(EXTENSION))
    run = subprocess.run(["sqlite3", ":memory:", f".load {tmp_path / 'isofmt_sqlite'}",
                          "SELECT isofmt_format('E8601DA', 0)"], capture_output=True, text=True, env=env)
    if works:
        assert run.stdout == "1960-01-01\n"
    else:
        assert "no plug-ins found" in run.stderr and "ISOFMT_PLUGIN_PATH" in run.stderr
