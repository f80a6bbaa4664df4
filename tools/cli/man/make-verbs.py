#!/usr/bin/env python3
"""Writes a help2man include file with the SYNOPSIS and a VERBS section,
both taken from what tessivar-cli itself prints for --help and for each
verb's --help, so that the man page cannot drift from the program.
usage: make-verbs.py TESSIVAR-CLI OUTPUT"""
import re
import subprocess
import sys

cli, output = sys.argv[1:]
ENTRY = re.compile(r"  (\S.*?)  +(\S.*)")
# Every verb takes these; the page names them once, under OPTIONS.
SHARED = {"-h, --help", "--version"}


def help_text(*arguments):
    return subprocess.run([cli, *arguments, "--help"], capture_output=True, text=True,
                          check=True).stdout


def roff(text):
    text = text.replace("\\", "\\e").replace("-", "\\-")
    # A leading dot or quote would be a request; a bracket, a help2man section.
    return re.sub(r"^([.'[])", r"\\&\1", text)


def verbs():
    # The top-level help lists the verbs as indented lines, one a form.
    block = help_text().split("\n\n")[0]
    return list(dict.fromkeys(re.findall(r"^  ([a-z]+) ", block, re.M)))


def split_usage(block):
    lines = block.splitlines()
    forms = [re.sub(r"^(usage:)? +", "", line) for line in lines
             if line.startswith("usage: ") or line.startswith("       ")]
    return forms, lines[len(forms):]


def entries(block):
    heading, *lines = block.splitlines()
    macro = ".I" if heading == "Arguments:" else ".B"
    found = []
    for line in lines:
        match = ENTRY.fullmatch(line)
        if match:
            found.append([match[1], match[2]])
        else:
            found[-1][1] += " " + line.strip()
    return [f".TP\n{macro} {roff(name)}\n{roff(text)}" for name, text in found
            if name not in SHARED]


def section(verb):
    usage, *rest = help_text(verb).strip().split("\n\n")
    forms, description = split_usage(usage)
    lines = [f'.SS "{roff(verb)}"', *map(roff, description)]
    for block in rest:
        lines += entries(block)
    return forms, lines


synopsis, body = [], []
for verb in verbs():
    forms, lines = section(verb)
    synopsis += forms
    body += lines
with open(output, "w", encoding="utf-8") as page:
    page.write("[SYNOPSIS]\n")
    page.write("\n.br\n".join(
        ".B " + roff(" ".join(form.split()[:2])) + "\n" + roff(" ".join(form.split()[2:]))
        for form in synopsis) + "\n")
    page.write("[VERBS]\n" + "\n".join(body) + "\n")
