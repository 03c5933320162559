"""The manual page cannot fall behind the program: every console command the interpreter's
table knows and every key the README's key tables name is an entry of the page; every key the
program binds is named there; every environment variable the program reads is an entry of
ENVIRONMENT and every option `--help` shows is in OPTIONS. Usage: test_manual_page.py SRC PAGE
PROGRAM, PAGE being the generated roff."""
import pathlib
import re
import subprocess
import sys

SRC, PAGE, PROGRAM = pathlib.Path(sys.argv[1]), pathlib.Path(sys.argv[2]), sys.argv[3]
# The character codes of keys the README names rather than shows.
KEY_NAMES = {8: "Backspace", 32: "Space", 127: "Delete"}
SPECIAL_KEY_NAMES = {"Left": "Arrow keys", "Right": "Arrow keys", "Up": "Arrow keys",
                     "Down": "Arrow keys", "PageUp": "Page Up", "PageDown": "Page Down"}


def plain(roff):
    """Roff text without its requests and escapes."""
    text = re.sub(r"^\.[A-Z]+ ?", "", roff)
    text = re.sub(r"\\f[BIRP]", "", text).replace("\\(ga", "`").replace("\\(aq", "'").replace("\\(em", "-")
    return text.replace("\\-", "-").replace("\\&", "").replace("\\%", "").replace("\\e", "\\").replace('"', "")


# Found wherever under src/ they are: the interpreter's command table, the key bindings.
SOURCES = {p: p.read_text() for p in sorted(SRC.rglob("*")) if p.suffix in (".cpp", ".h")}


lines = PAGE.read_text().splitlines()
sections, current = {}, None
for number, line in enumerate(lines):
    if line.startswith(".SH "):
        current = sections.setdefault(plain(line), {"tags": [], "text": []})
    elif current is not None:
        current["text"].append(plain(line))
        if number and lines[number - 1] == ".TP":
            current["tags"].append(plain(line))
tags = [t for s in sections.values() for t in s["tags"]]
words = " ".join(t for s in sections.values() for t in s["text"])
failures = []

commands = re.findall(r'^\s*\{"(/\w+)",', "\n".join(SOURCES.values()), re.M)
assert "/open" in commands, "the interpreter's command table was not found in src/"
for command in commands:
    if not any(re.search(re.escape(command) + r"\b", tag) for tag in tags):
        failures.append("console command %s has no entry" % command)

readme_keys = []
for table in re.findall(r"^\| Key \|.*\n\|[-|]+\|\n((?:\|.*\n)+)", (SRC.parent / "README.md").read_text(), re.M):
    readme_keys += [row.split("|")[1].strip() for row in table.splitlines()]
assert len(readme_keys) > 10, "the README's key tables were not found"
failures += ["README key %s has no entry" % key for key in readme_keys if key not in tags]

bindings = next((text for text in SOURCES.values() if "kKeyBindings[] = {" in text), "")
table = bindings[bindings.find("kKeyBindings[] = {"):]
characters = [int(c) if c.isdigit() else ord(c.strip("'")) for c in re.findall(r"^    \{('.'|\d+),", table, re.M)]
specials = set(re.findall(r"case kKey(\w+):", bindings))
assert len(characters) > 10 and len(specials) > 5, "the key bindings were not found in src/"
first_words = {re.sub(r"^(Ctrl|Shift)\+", "", tag.split(" ")[0]) for tag in tags}
for code in characters:
    if code in KEY_NAMES and KEY_NAMES[code] not in words or code not in KEY_NAMES and chr(code) not in first_words:
        failures.append("key %r is bound but not described" % KEY_NAMES.get(code, chr(code)))
failures += ["key %s is bound but not described" % key for key in specials
             if not re.search(r"\b%s\b" % SPECIAL_KEY_NAMES.get(key, key), words)]

read = set(re.findall(r'getenv\("(\w+)"\)', "\n".join(SOURCES.values())))
assert read, "no getenv call found in src/"
failures += ["variable %s is not in ENVIRONMENT" % name for name in read if name not in sections["ENVIRONMENT"]["tags"]]
usage = subprocess.run([PROGRAM, "--help"], capture_output=True, text=True).stdout
options = set(re.findall(r"(--[a-z-]+)", usage))
failures += ["option %s is not in OPTIONS" % o for o in options if o not in " ".join(sections["OPTIONS"]["tags"])]

print("\n".join(failures) or "manual page: %d commands, %d keys, %d variables, %d options described"
      % (len(commands), len(characters) + len(specials), len(read), len(options)))
sys.exit(1 if failures else 0)
