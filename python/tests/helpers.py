"""What the Python and SQLite test suites share: the isofmt tool as the
reference, and the README's examples."""
import os
import re
import subprocess

TOOL = os.environ.get("ISOFMT_TOOL", "isofmt")
README = os.environ.get("ISOFMT_README", "README.md")


def tool(command, name, values, *options):
    """The tool's output lines for values fed one a line on standard input."""
    run = subprocess.run([TOOL, command, *options, name, "-"], input="".join(v + "\n" for v in values),
                         capture_output=True, text=True, check=True)
    return run.stdout.split("\n")[:-1]


def readme_blocks(section):
    """The fenced blocks of a README section (## NAME) as (language, text)."""
    text = open(README, encoding="utf-8").read()
    match = re.search(r"^## " + re.escape(section) + r"\n(.*?)(?=^## |\Z)", text, re.S | re.M)
    assert match, f"README has no section {section}"
    return re.findall(r"^```(\w*)\n(.*?)^```", match.group(1), re.S | re.M)
