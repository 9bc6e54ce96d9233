#!/usr/bin/env python3
"""Holds the program's sources to one table of texts.

Every text the user sees is named in common/app_texts.h. This check reads
the sources of the program's folders (common, items, platform, dialogs,
panel) and refuses a string literal outside that table when

  - it holds a character outside ASCII (Russian, "×"), written out or as an
    escape (\\u, \\U, \\x or octal above 0x7F), or
  - it reads as words: two words of letters with a space between them (the
    English failures, "Page Up"), or
  - it is a non-empty text handed straight to what shows text: the text of
    a control, label, button, tooltip, window frame, message or failure
    (AddControl, AddLabel, AddButton, SetTooltip, CreateDialogFrame,
    ShowMessage, ReportError, TError, runtime_error, Widen), or a title,
    filter, hint or caption set to one.

In the table itself every text has both languages: a name declared there as
a bare "const char*" or "const wchar_t*" is refused (the font's name, which
is no text, excepted); the pairs' own rules (both halves non-empty, the
English one ASCII) hold at compile time (common/app_language.h).

Comments are no literals: the source is read as the compiler reads it
(comments, character literals, raw strings, adjacent literals that join
into one, the file name of an #include), so a text quoted in a comment is
fine.

  check_texts.py ROOT          checks the program's folders under ROOT;
                               exit status 1 when a text is refused
  check_texts.py --self-test PLANTED ROOT
                               checks a copy of ROOT's table and PLANTED
                               (as panel/planted.cpp) in a scratch tree; passes
                               when exactly PLANTED's lines marked
                               "// refused" are refused and the table is not
"""
import os
import re
import shutil
import sys
import tempfile

FOLDERS = ("common", "items", "platform", "dialogs", "panel")
TABLE = "common/app_texts.h"

# Literals the check lets stand, by file and literal as written in the
# source, each with its reason.
ALLOWED = {
    ("common/font_face.h", '"MS Sans Serif"'): "a font's name, which the system looks up, not a text",
    ("common/font_face.h", '"Microsoft Sans Serif"'): "a font's name, which the system looks up, not a text",
    ("common/item_text.h", '"\\xEF\\xBB\\xBF"'): "the mark of a UTF-8 text in the item file, not a text",
    ("common/app_language.h", '"a text needs both languages"'): "a compiler's diagnostic, never shown",
    ("common/app_language.h", '"an English text is ASCII"'): "a compiler's diagnostic, never shown",
    ("common/app_language.h", '"a text is not empty"'): "a compiler's diagnostic, never shown",
}
# Names the table may declare as bare strings, each with its reason.
TABLE_BARE = {
    "kPanelFontFace": "a font's name, which the system looks up, not a text",
}
BARE_TEXT = re.compile(r"\bconstexpr\s+const\s+(?:char|wchar_t)\s*\*\s*(\w+)")
WORDS = re.compile(r"[A-Za-z]{2,} [A-Za-z]{2,}")

# Calls whose first argument is shown as text, and calls whose second is.
FIRST_ARGUMENT = r"AddLabel|AddButton|SetTooltip|ShowMessage|ReportError|TError|runtime_error|Widen"
SECOND_ARGUMENT = r"AddControl|CreateDialogFrame"
SHOWN_BEFORE = re.compile(
    r"(?:\b(?:" + FIRST_ARGUMENT + r")\s*\(\s*"
    r"|\b(?:" + SECOND_ARGUMENT + r")\s*\(\s*[^,()]*(?:\([^()]*\))?[^,()]*,\s*"
    r"|(?:\.|\b)(?:title|filter|hint|caption)\s*=\s*)$")


class Literal:
    def __init__(self, line, start, end, source, body):
        self.line = line        # line of its first part
        self.start = start      # offset of its first part in the file
        self.end = end          # offset after its last part
        self.source = source    # as written, adjacent parts joined by a space
        self.body = body        # the characters between the quotes, parts joined


def read_code(text):
    """The literals of a C++ source and the source with every comment and
    literal blanked out (same length, same lines)."""
    code = list(text)
    literals = []
    i, n, line = 0, len(text), 1

    def blank(a, b):
        for k in range(a, b):
            if code[k] != "\n":
                code[k] = " "

    while i < n:
        c = text[i]
        if c == "\n":
            line += 1
            i += 1
        elif text.startswith("//", i):
            end = text.find("\n", i)
            end = n if end < 0 else end
            blank(i, end)
            i = end
        elif text.startswith("/*", i):
            end = text.find("*/", i + 2)
            end = n if end < 0 else end + 2
            blank(i, end)
            line += text.count("\n", i, end)
            i = end
        elif c == "#" and text[text.rfind("\n", 0, i) + 1:i].strip() == "":
            # A directive: an #include's file name is no text.
            m = re.match(r"#\s*include\s*(\"[^\"\n]*\"|<[^>\n]*>)", text[i:])
            if m:
                blank(i, i + m.end())
                i += m.end()
            else:
                i += 1
        elif c == "'" and re.search(r"(?<![A-Za-z0-9_])(?:u8|[LuU])?$", text[max(0, i - 3):i]):
            # A character literal, with its prefix (a quote after a digit is
            # a digit separator).
            j = i + 1
            while j < n and text[j] != "'" and text[j] != "\n":
                j += 2 if text[j] == "\\" else 1
            end = j + 1 if j < n and text[j] == "'" else j
            blank(i, end)
            i = end
        elif c == '"':
            start = i
            # Its encoding prefix (L, u8, u, U) and raw mark (R) belong to it.
            m = re.search(r"(?<![A-Za-z0-9_])(?:u8|[LuU])?R?$", text[max(0, i - 4):i])
            prefix_start = i - len(m.group(0)) if m else i
            raw = m is not None and m.group(0).endswith("R")
            if raw:
                q = text.index('"', i)
                paren = text.index("(", q)
                delimiter = text[q + 1:paren]
                close = text.index(")" + delimiter + '"', paren)
                body = text[paren + 1:close]
                end = close + len(delimiter) + 2
            else:
                j = i + 1
                while j < n and text[j] != '"':
                    if text[j] == "\n":
                        raise ValueError("line %d: a string literal runs past its line" % line)
                    j += 2 if text[j] == "\\" else 1
                body = text[i + 1:j]
                end = j + 1
            literal = Literal(line, prefix_start, end, text[prefix_start:end], body)
            previous = literals[-1] if literals else None
            if previous and "".join(code[previous.end:prefix_start]).strip() == "":
                # "a" "b" is one literal.
                previous.end = end
                previous.source += " " + literal.source
                previous.body += body
            else:
                literals.append(literal)
            blank(prefix_start, end)
            line += text.count("\n", start, end)
            i = end
        else:
            i += 1
    return literals, "".join(code)


def beyond_ascii(body):
    if any(ord(ch) > 0x7F for ch in body):
        return True
    # Escapes read from the left, so that "\\U" is a backslash and a U.
    for m in re.finditer(r"\\(?:([uU])|x([0-9a-fA-F]+)|([0-7]{1,3})|.)", body):
        if m.group(1) or (m.group(2) and int(m.group(2), 16) > 0x7F) or (m.group(3) and int(m.group(3), 8) > 0x7F):
            return True
    return False


def refusals(path, name, allowed_seen):
    """(line, literal, why) for each literal of the file the check refuses;
    `name` is the file's path from the root, as ALLOWED names it. Adds the
    ALLOWED entries it meets to `allowed_seen`."""
    with open(path, encoding="utf-8") as f:
        text = f.read()
    literals, code = read_code(text)
    found = []
    for lit in literals:
        if (name, lit.source) in ALLOWED:
            allowed_seen.add((name, lit.source))
            continue
        if beyond_ascii(lit.body):
            found.append((lit.line, lit.source, "holds characters beyond ASCII"))
        elif WORDS.search(lit.body):
            found.append((lit.line, lit.source, "reads as words"))
        elif lit.body and SHOWN_BEFORE.search(code[:lit.start]):
            found.append((lit.line, lit.source, "is shown to the user"))
    return found


def table_refusals(root):
    """(line, name) for each name of the table declared as a text of one
    language."""
    with open(os.path.join(root, TABLE), encoding="utf-8") as f:
        _, code = read_code(f.read())
    found = []
    for m in BARE_TEXT.finditer(code):
        if m.group(1) not in TABLE_BARE:
            found.append((code.count("\n", 0, m.start()) + 1, m.group(1)))
    return found


def program_sources(root):
    for folder in FOLDERS:
        for entry in sorted(os.listdir(os.path.join(root, folder))):
            name = folder + "/" + entry
            if entry.endswith((".h", ".cpp")) and name != TABLE:
                yield name


def check_tree(root, out=sys.stdout, whole=True):
    """The refusals over the program's folders, reported; their count. For
    the `whole` program an ALLOWED entry that no source holds is refused
    too, so the list cannot outlive its reasons."""
    count = 0
    files = 0
    allowed_seen = set()
    for name in program_sources(root):
        files += 1
        for line, source, why in refusals(os.path.join(root, name), name, allowed_seen):
            count += 1
            print("%s:%d: %s %s; name it in %s" % (name, line, source, why, TABLE), file=out)
    for line, name in table_refusals(root):
        count += 1
        print("%s:%d: %s has one language; write it as Text{russian, english}" % (TABLE, line, name), file=out)
    for name, source in sorted(set(ALLOWED) - allowed_seen) if whole else []:
        count += 1
        print("%s: %s is allowed but not there; remove it from ALLOWED" % (name, source), file=out)
    print("%d files checked, %d texts outside %s" % (files, count, TABLE), file=out)
    return count


def self_test(planted, root):
    with open(planted, encoding="utf-8") as f:
        marked = {i + 1 for i, text in enumerate(f) if text.rstrip().endswith("// refused")}
    if not marked:
        print("%s marks no line \"// refused\"" % planted)
        return 1
    with tempfile.TemporaryDirectory() as scratch:
        for folder in FOLDERS:
            os.makedirs(os.path.join(scratch, folder))
        shutil.copy(os.path.join(root, TABLE), os.path.join(scratch, TABLE))
        shutil.copy(planted, os.path.join(scratch, "panel", "planted.cpp"))
        report = []

        class Lines:
            def write(self, text):
                report.append(text)

        count = check_tree(scratch, Lines(), whole=False)
    lines = "".join(report)
    print(lines, end="")
    refused = {int(m.group(1)) for m in re.finditer(r"^panel/planted\.cpp:(\d+):", lines, re.M)}
    elsewhere = [l for l in lines.splitlines() if ":" in l and not l.startswith("panel/planted.cpp:")]
    ok = count > 0 and refused == marked and count == len(marked) and not elsewhere
    if not ok:
        print("expected exactly the lines %s of the planted file refused, got %s" % (sorted(marked), sorted(refused)))
    return 0 if ok else 1


def main(argv):
    try:
        if len(argv) == 4 and argv[1] == "--self-test":
            return self_test(argv[2], argv[3])
        if len(argv) == 2:
            return 1 if check_tree(argv[1]) else 0
        print(__doc__, file=sys.stderr)
        return 2
    except (OSError, ValueError) as e:
        print("check_texts: %s" % e, file=sys.stderr)
        return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv))
