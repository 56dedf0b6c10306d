"""Turns files into C++ accessors of the carried data: for each NAME=FILE a
function res::NAME() returning one rt::ByteString kept for the whole run.
The bytes go in as one string literal, which compilers read quickly even for
a megabyte. Usage: embed.py OUT.cpp NAME=FILE [NAME=FILE ...]"""

import sys

# Printable characters that can stand for themselves inside a literal; every
# other byte is a three-digit octal escape, which never swallows what follows.
_PLAIN = set(range(0x20, 0x7F)) - {ord('"'), ord("\\"), ord("?")}
_TABLE = [chr(b) if b in _PLAIN else "\\%03o" % b for b in range(256)]


def literal_lines(data, width=120):
    lines = []
    line = []
    used = 0
    for b in data:
        piece = _TABLE[b]
        line.append(piece)
        used += len(piece)
        if used >= width:
            lines.append('"' + "".join(line) + '"')
            line, used = [], 0
    if line or not lines:
        lines.append('"' + "".join(line) + '"')
    return "\n    ".join(lines)


def main():
    out_path = sys.argv[1]
    parts = ["// Generated at build time from the carried files; do not edit.",
             '#include "resources/carried.h"', "", "namespace res {", ""]
    for pair in sys.argv[2:]:
        name, path = pair.split("=", 1)
        with open(path, "rb") as f:
            data = f.read()
        parts.append("namespace {")
        parts.append("const char k%sBytes[] =\n    %s;" % (name, literal_lines(data)))
        parts.append("}  // namespace")
        parts.append("")
        parts.append("const rt::ByteString& %s() {" % name)
        parts.append("    static const rt::ByteString bytes(")
        parts.append("        reinterpret_cast<const unsigned char*>(k%sBytes)," % name)
        parts.append("        reinterpret_cast<const unsigned char*>(k%sBytes) + %d);" % (name, len(data)))
        parts.append("    return bytes;")
        parts.append("}")
        parts.append("")
    parts.append("}  // namespace res")
    text = "\n".join(parts) + "\n"
    with open(out_path, "w", encoding="ascii", newline="\n") as f:
        f.write(text)


if __name__ == "__main__":
    main()
