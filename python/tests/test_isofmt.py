import datetime as dt
import doctest
import os
import random
import shutil
import subprocess
import sys

import numpy as np
import pandas as pd
import pytest

import isofmt
from helpers import readme_blocks, tool

UTC = dt.timezone.utc


# Every way of giving a value, against the host value it stands for.
@pytest.mark.parametrize("fmt, value, expected", [
    ("E8601DZ26.3", 0, "  1960-01-01T00:00:00.000Z"),
    ("E8601DZ26.3", 0.0005, "  1960-01-01T00:00:00.001Z"),
    ("E8601DZ26.3", dt.datetime(2020, 7, 1, 12, 30, 15, 250000), "  2020-07-01T12:30:15.250Z"),
    ("E8601DZ26.3", dt.datetime(2020, 7, 1, 14, 30, tzinfo=dt.timezone(dt.timedelta(hours=2))),
     "  2020-07-01T12:30:00.000Z"),
    ("E8601DZ26.3", dt.datetime(1582, 1, 1), "  1582-01-01T00:00:00.000Z"),
    ("E8601DZ26.3", pd.Timestamp("2020-01-01T10:00:00", tz="Europe/Paris"), "  2020-01-01T09:00:00.000Z"),
    ("E8601DZ26.3", np.datetime64("1959-12-31T23:59:59.500"), "  1959-12-31T23:59:59.500Z"),
    ("E8601DZ26.3", np.datetime64("2020-01-01T00:00:00.123456789", "ns"), "  2020-01-01T00:00:00.123Z"),
    ("E8601DZ26.3", "2020-01-01T10:00:00+01:00", "  2020-01-01T09:00:00.000Z"),
    ("E8601DA", dt.date(2008, 9, 15), "2008-09-15"),
    ("E8601DA", -138061, "1582-01-01"),
    ("E8601DA", np.int64(17790), "2008-09-15"),
    ("E8601DA", np.datetime64("2008-09-15"), "2008-09-15"),
    ("E8601DA", np.datetime64("2008-09"), "2008-09-01"),
    ("E8601DA", "2008-09-15", "2008-09-15"),
    ("E8601TM", dt.time(9, 5, 0), "09:05:00"),
    ("CLKTIME", dt.timedelta(hours=30, seconds=1), "30:00:01"),
    ("CLKTIME", np.timedelta64(90, "m"), " 1:30:00"),
    ("E8601DA", None, "         ."),
    ("E8601DA", float("nan"), "         ."),
    ("E8601DA", pd.NaT, "         ."),
    ("E8601DA", np.datetime64("NaT"), "         ."),
    ("E8601DZ26.3", pd.NaT, "                   .      "),
    ("IS860DU", "0001203040506FFC", "P00010203T040506        "),
    ("IS860DU", None, " " * 24),
])
def test_values(fmt, value, expected):
    assert isofmt.format(fmt, value) == expected


def test_datetime_values_agree_with_the_literals():
    times = [dt.datetime(1960, 1, 1) + dt.timedelta(seconds=random.Random(7).randrange(-10**10, 10**10))
             for _ in range(200)]
    literals = [t.isoformat() for t in times]
    assert isofmt.format("E8601DT", times) == isofmt.format("E8601DT", literals)
    assert isofmt.format("E8601DT", np.array(times, dtype="datetime64[s]")).tolist() == \
        isofmt.format("E8601DT", literals)


# Arrays of every kind against the tool, row by row.
@pytest.mark.parametrize("fmt", ["E8601DZ26.3", "B8601DT", "E8601DX25", "CLKDT16", "CLKTAMPM11", "E8601TM15.6"])
def test_arrays_agree_with_the_tool(fmt):
    rng = np.random.default_rng(12)
    values = np.round(rng.uniform(-2e9, 2e9, 3000), 3)
    values[::97] = np.nan
    expected = tool("format", fmt, ["." if np.isnan(v) else repr(float(v)) for v in values])
    assert isofmt.format(fmt, values).tolist() == expected
    assert isofmt.format(fmt, values.tolist()) == expected


# A large batch is shared out among threads: every value keeps its place.
def test_large_batches_keep_their_order():
    values = np.random.default_rng(5).uniform(-3e9, 3e9, 100_003)
    values[::1001] = np.nan
    small = [t for i in range(0, len(values), 10_000) for t in isofmt.format("E8601DT23.3", values[i:i + 10_000])]
    assert isofmt.format("E8601DT23.3", values).tolist() == small
    texts = np.array(["P%dD" % i if i % 3 else "P1D/P%dD" % i for i in range(60_000)], dtype=object)
    packed, codes = isofmt.informat("IS860VL", texts)
    first = isofmt.informat("IS860VL", texts[:10_000])
    assert packed[:10_000].tolist() == first[0].tolist() and (codes[:10_000] == first[1]).all()
    assert packed[-1] == isofmt.informat("IS860VL", texts[-1])[0]
    assert (codes[::3] == 14).all()


def test_informat_agrees_with_the_tool():
    texts = ["P1Y2M3DT4H5M6S", "-PT30M", "P1D/P2D", "2020-01-15T10:30:00/P1M", "P1M/2020-03-31",
             "", ".", "PT1.5S", "P1W", "2020-01-01/2019-01-01", "xyz", "P1YT"] * 250
    packed, codes = isofmt.informat("IS860VL", np.array(texts))
    expected = [line.split("\t") for line in tool("informat", "IS860VL", texts, "--status")]
    assert [[p, str(c)] for p, c in zip(packed, codes)] == [e[:2] for e in expected]
    assert codes.dtype == np.int32
    assert isofmt.problem_message(14) == "interval has 2 durations"
    assert isofmt.problem_message(0) == ""


# The result keeps the form of the input.
def test_shapes():
    assert isinstance(isofmt.format("E8601DA", 0), str)
    assert isofmt.format("E8601DA", (0, 1)) == ["1960-01-01", "1960-01-02"]
    grid = isofmt.format("E8601DA", np.arange(6).reshape(2, 3))
    assert grid.shape == (2, 3) and grid.dtype == object and grid[1, 2] == "1960-01-06"
    assert isofmt.format("E8601DA", []) == []
    assert isofmt.format("E8601DA", np.array([])).shape == (0,)
    assert isofmt.informat("IS860DU", "P1D") == ("FFFFF01FFFFFFFFC", 0)
    assert isofmt.informat("IS860DU", ["P1D", None]) == (["FFFFF01FFFFFFFFC", None], [0, 0])
    packed, codes = isofmt.informat("IS860DU", pd.Series(["P1D", np.nan]))
    assert packed.tolist() == ["FFFFF01FFFFFFFFC", None] and codes.tolist() == [0, 0]


@pytest.mark.parametrize("call, expected", [
    (lambda: isofmt.format("E8601DX26", dt.datetime(2020, 7, 1, 12), zone="America/New_York"),
     " 2020-07-01T08:00:00-04:00"),
    (lambda: isofmt.format("E8601DX26", 0, zone="+05:30"), " 1960-01-01T05:30:00+05:30"),
    (lambda: isofmt.format("E8601DA", None, missing="n/a"), "       n/a"),
    (lambda: isofmt.format("E8601DA", None, missing=""), "          "),
    (lambda: isofmt.format("IS860DU", "0001203040506FFC", options=1), "P1Y2M3DT4H5M6S          "),
    (lambda: isofmt.format("IS860DU14", "0001203040506FFC", capacity=10), "*" * 10),
    (lambda: isofmt.informat("IS860DU", ".", mode=0x100), ("FFFFFFFFFFFFFFFF", 0)),
])
def test_options(call, expected):
    assert call() == expected


def test_options_match_the_tool():
    values = ["0", "1e9", "-1e9", "."]
    for zone in ["Europe/Paris", "-03:00"]:
        assert isofmt.format("E8601LX", [None if v == "." else float(v) for v in values], zone=zone,
                             missing="-") == \
            tool("format", "E8601LX", values, "--tz", zone, "--missing", "-")
    assert isofmt.format("E8601DA9", 0, validate=True) == \
        tool("format", "E8601DA9", ["0"], "--validate")[0]
    texts = ["P1Y", "P0001-02-03", "PT1H", "2020-01-01T00:00/P1D"]
    assert isofmt.informat("IS860VL", texts, mode=0x80)[0] == \
        tool("informat", "IS860VL", texts, "--mode", "0x80")


@pytest.mark.parametrize("call, error", [
    (lambda: isofmt.format("NOSUCH", 0), ValueError),
    (lambda: isofmt.informat("E8601DA", "x"), ValueError),
    (lambda: isofmt.format("E8601DA0", 0), ValueError),
    (lambda: isofmt.format("E8601DX", 0, zone="Nowhere/City"), ValueError),
    (lambda: isofmt.format("E8601DA", "yesterday"), ValueError),
    (lambda: isofmt.format("E8601DA", 0, capacity=-1), ValueError),
    (lambda: isofmt.format("E8601DA", 0, options=2**32), ValueError),
    (lambda: isofmt.format("E8601DA", object()), TypeError),
    (lambda: isofmt.format("E8601DA", np.zeros(1, dtype="datetime64[ps]")), TypeError),
    (lambda: isofmt.informat("IS860DU", 5), TypeError),
])
def test_errors(call, error):
    with pytest.raises(error):
        call()


def test_readme_example():
    (language, example), = [b for b in readme_blocks("Python") if b[0] == "pycon"]
    test = doctest.DocTestParser().get_doctest(example, {}, "README Python", None, 0)
    runner = doctest.DocTestRunner(optionflags=doctest.NORMALIZE_WHITESPACE)
    runner.run(test)
    assert runner.failures == 0 and runner.tries > 0


# cmake --install puts the module in the Python site directory under the
# prefix and the extension in lib/isofmt; both find lib/isofmt/plugins.
def test_installed(tmp_path):
    build = os.environ["ISOFMT_BUILD_DIR"]
    subprocess.run(["cmake", "--install", build, "--prefix", str(tmp_path)], check=True, capture_output=True)
    plugins = tmp_path / "lib" / "isofmt" / "plugins"
    if not (plugins / "dtbasic1.so").exists():  # until the plug-ins are installed too
        plugins.mkdir(parents=True, exist_ok=True)
        for name in ["dtbasic1", "dtextnd1", "dtaltfm1", "dtclockf"]:
            shutil.copy(os.path.join(os.path.dirname(isofmt.__file__), name + ".so"), plugins)
    (site,) = (tmp_path / "lib").glob("python3.*/dist-packages")
    env = {k: v for k, v in os.environ.items() if k != "ISOFMT_PLUGIN_PATH"}
    env["PYTHONPATH"] = str(site)
    run = subprocess.run([sys.executable, "-c", "import isofmt; print(isofmt.__file__); "
                          "print(isofmt.format('E8601DZ26.3', 0))"], env=env, capture_output=True, text=True)
    assert run.stdout.splitlines() == [str(next(site.glob("isofmt.*.so"))), "  1960-01-01T00:00:00.000Z"], run.stderr
    run = subprocess.run(["sqlite3", ":memory:", f".load {tmp_path}/lib/isofmt/isofmt_sqlite",
                          "SELECT isofmt_format('E8601DA', 0)"], env=env, capture_output=True, text=True)
    assert run.stdout == "1960-01-01\n", run.stderr
