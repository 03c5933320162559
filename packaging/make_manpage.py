#!/usr/bin/env python3
"""Writes the manual page: the template with the version filled in and, for every line
`.\\" README: TITLE`, the README's section whose heading starts with TITLE turned into roff.
The keys, the mouse and the console commands are so described in one place, the README.

Usage: make_manpage.py README TEMPLATE VERSION OUTPUT
"""
import re
import sys

DIRECTIVE = re.compile(r'^\.\\" README: (.+)$')
HEADING = re.compile(r"^(#+) (.*)$")
CAPITAL_WORD = re.compile(r"\b([A-Z][A-Z0-9_]*)\b")


def escape(text):
    return text.replace("\\", "\\e")


def code(text):
    """A code span: bold, never hyphenated, its capitalised words (the parameters) italic."""
    text = escape(text).replace("-", "\\-").replace("`", "\\(ga").replace("'", "\\(aq")
    return "\\fB\\%" + CAPITAL_WORD.sub(r"\\fI\1\\fB", text) + "\\fR"


def inline(text):
    """Markdown text to roff: code spans, and characters roff would take for its own."""
    parts = re.split(r"`([^`]+)`", text)
    return "".join(code(p) if i % 2 else escape(p).replace("`", "\\(ga") for i, p in enumerate(parts))


def line(text):
    """One roff text line: one starting with a dot or an apostrophe would be a request."""
    return "\\&" + text if text[:1] in (".", "'") else text


def cells(row):
    return [c.strip() for c in row.strip().strip("|").split("|")]


def convert(lines):
    """A README section's body (without its heading) as roff lines."""
    out, paragraph, i = [], [], 0

    def flush(request=".PP"):
        if paragraph:
            out.extend([request, line(inline(" ".join(paragraph)))])
            paragraph.clear()

    while i < len(lines):
        text = lines[i]
        if not text.strip():
            flush()
        elif text.startswith("|"):
            flush()
            rows = []
            while i < len(lines) and lines[i].startswith("|"):
                rows.append(cells(lines[i]))
                i += 1
            for row in rows[2:]:  # after the header and its rule
                body = inline(row[1]) if len(row) == 2 else \
                    "\\fB%s\\fR \\(em %s" % (inline(row[1]), inline(" ".join(row[2:])))
                tag = inline(row[0]) if "`" in row[0] else "\\fB%s\\fR" % inline(row[0])
                out.extend([".TP", line(tag), line(body)])
            continue
        elif text.startswith("- "):
            flush()
            paragraph.append(text[2:].strip())
            while i + 1 < len(lines) and lines[i + 1].startswith("  ") and lines[i + 1].strip():
                i += 1
                paragraph.append(lines[i].strip())
            flush(".IP \\(bu 2")
        elif text.startswith("    "):
            flush()
            out.extend([".PP", ".RS 4", ".nf"])
            while i < len(lines) and (lines[i].startswith("    ") or not lines[i].strip()):
                out.append(line(escape(lines[i][4:]).replace("-", "\\-")))
                i += 1
            out.extend([".fi", ".RE"])
            continue
        else:
            paragraph.append(text.strip())
        i += 1
    flush()
    return out


def section(readme, title):
    """The heading and body of the README's section whose heading starts with `title`."""
    for start, text in enumerate(readme):
        match = HEADING.match(text)
        if match and match.group(2).startswith(title):
            end = start + 1
            while end < len(readme) and not HEADING.match(readme[end]):
                end += 1
            body = readme[start + 1:end]
            if not any(b.strip() for b in body):
                break
            return [".SS " + inline(match.group(2))] + convert(body)
    sys.exit("make_manpage: the README has no section \"%s\" with text" % title)


def main(readme_path, template_path, version, output_path):
    readme = open(readme_path, encoding="utf-8").read().splitlines()
    page = []
    for text in open(template_path, encoding="utf-8").read().splitlines():
        match = DIRECTIVE.match(text)
        page.extend(section(readme, match.group(1)) if match else [text.replace("@VERSION@", version)])
    with open(output_path, "w", encoding="utf-8") as out:
        out.write("\n".join(page) + "\n")


if __name__ == "__main__":
    if len(sys.argv) != 5:
        sys.exit(__doc__)
    main(*sys.argv[1:])
