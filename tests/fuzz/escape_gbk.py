"""Copies C++ sources whose narrow literals are written in UTF-8 but meant in
the Simplified-Chinese code page (the shipped build compiles them with
-fexec-charset=GBK), with every non-ASCII character of such a literal turned
into octal escapes of its code-page bytes. clang has no -fexec-charset; this
copy gives it the same bytes. The bytes come from the system's iconv, the
converter the shipped build's compiler uses.

Usage: escape_gbk.py SOURCE_ROOT OUTPUT_ROOT RELATIVE_PATH...

Fails on anything it cannot carry over exactly: non-ASCII outside literals and
comments, in a raw string, or with no code-page form."""

import os
import subprocess
import sys


def to_gbk(text, where):
    done = subprocess.run(["iconv", "-f", "UTF-8", "-t", "GBK"], input=text.encode("utf-8"),
                          capture_output=True)
    if done.returncode != 0:
        sys.exit("%s: %r has no form in the code page" % (where, text))
    return done.stdout


def escape(source, where):
    out = []
    i, n = 0, len(source)
    while i < n:
        c = source[i]
        if source.startswith("//", i):
            end = source.find("\n", i)
            end = n if end < 0 else end
            out.append(source[i:end])
            i = end
        elif source.startswith("/*", i):
            end = source.index("*/", i) + 2
            out.append(source[i:end])
            i = end
        elif c in "\"'":
            prefix = literal_prefix(out)
            if prefix.endswith("R"):
                end = source.index(")" + source[i + 1:source.index("(", i)] + '"', i)
                body = source[i:end]
                if any(ord(ch) > 127 for ch in body):
                    sys.exit("%s: non-ASCII raw string" % where)
                out.append(body)
                i = end
                continue
            narrow = prefix not in ("u8", "u", "U", "L")
            j = i + 1
            literal = [c]
            run = ""
            while source[j] != c:
                ch = source[j]
                if ord(ch) > 127:
                    run += ch
                    j += 1
                    continue
                if run:
                    literal.append(emit(run, narrow, where))
                    run = ""
                if ch == "\\":
                    literal.append(source[j:j + 2])
                    j += 2
                else:
                    literal.append(ch)
                    j += 1
            if run:
                literal.append(emit(run, narrow, where))
            literal.append(c)
            out.append("".join(literal))
            i = j + 1
        else:
            if ord(c) > 127:
                sys.exit("%s: non-ASCII outside a literal or comment" % where)
            out.append(c)
            i += 1
    return "".join(out)


def literal_prefix(out):
    """The identifier characters right before a quote: a literal's prefix."""
    tail = "".join(out[-4:])
    prefix = ""
    for ch in reversed(tail):
        if not (ch.isalnum() or ch == "_"):
            break
        prefix = ch + prefix
    return prefix


def emit(run, narrow, where):
    if not narrow:
        return run  # u8, u, U and L literals are not in the code page
    return "".join("\\%03o" % byte for byte in to_gbk(run, where))


def main():
    source_root, output_root = sys.argv[1], sys.argv[2]
    for relative in sys.argv[3:]:
        with open(os.path.join(source_root, relative), encoding="utf-8") as f:
            text = f.read()
        converted = escape(text, relative)
        target = os.path.join(output_root, relative)
        os.makedirs(os.path.dirname(target), exist_ok=True)
        with open(target, "w", encoding="utf-8") as f:
            f.write(converted)


if __name__ == "__main__":
    main()
