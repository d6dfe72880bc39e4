#!/usr/bin/env python3
"""Every character beyond ASCII in the engine's sources, once each: the messages, captions and
screens the engine draws with the story's face, which a font subset must keep.
usage: engine_chars.py SRC_DIR OUT"""
import pathlib
import sys

root, out = pathlib.Path(sys.argv[1]), pathlib.Path(sys.argv[2])
chars = set()
for source in sorted(root.rglob("*")):
    if source.suffix in (".cpp", ".h"):
        chars.update(c for c in source.read_text(encoding="utf-8") if ord(c) > 0x7F)
out.write_text("".join(sorted(chars)) + "\n", encoding="utf-8")
