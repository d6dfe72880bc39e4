#!/usr/bin/python3
"""veltrane-pack: a finished story as a web page folder (--web) or a Debian package (--deb).

The story is checked with veltrane-lint first; a story with errors is refused. The output folder
is made beside its final place and renamed into it only once whole, so that a refusal or a failure
leaves nothing half-written.
"""
import argparse
import hashlib
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.realpath(__file__))
# the page's files, and the engine built for the browser, where a build tree or an install keeps them
SHARE_DIRS = [os.environ.get("VELTRANE_WEB_DIR", ""), os.path.join(HERE, "..", "build-web", "web"),
              os.path.join(HERE, "..", "share", "veltrane", "web")]
STORY_FONT = "/usr/share/fonts/opentype/ipafont-mincho/ipam.ttf"
FONT_LICENCE = "/usr/share/doc/fonts-ipafont-mincho/copyright"
SOUNDFONT = "/usr/share/sounds/sf2/TimGM6mb.sf2"
SOUNDFONT_LICENCE = "/usr/share/doc/timgm6mb-soundfont/copyright"
GAME_FOLDERS = ("txt", "gdat", "wav", "MIDI")
MAX_FILES = 1000
MAX_FILE_BYTES = 100 * 1000 * 1000


class Refusal(Exception):
    pass


def tool(name):
    """A sibling program of this one, as built or installed beside it."""
    path = os.path.join(HERE, name)
    return path if os.access(path, os.X_OK) else shutil.which(name) or name


def game_id(name):
    """The name the engine keeps a story's saves under, as it makes it from --id: the first 40 bytes,
    each that is not a letter, digit, '-', '_' or '.' made '_'."""
    kept = "".join(chr(b) if chr(b).isascii() and (chr(b).isalnum() or chr(b) in "-_.") else "_"
                   for b in name.encode("utf-8")[:40])
    return "game" + kept if not kept or kept[0] == "." else kept


def game_files(game):
    """The files a story plays from, as paths relative to its folder: the scripts and the media."""
    found = []
    for folder in GAME_FOLDERS:
        root = os.path.join(game, folder)
        for dirpath, _, names in os.walk(root):
            for name in sorted(names):
                rel = os.path.relpath(os.path.join(dirpath, name), game)
                # a script's UTF-8 source is the author's, not the reader's
                if folder == "txt" and not name.lower().endswith(".tda"):
                    continue
                found.append(rel)
    return sorted(found)


def hashed_name(path, data, folder):
    """A name that changes with the content, so that an update never mixes old and new files."""
    digest = hashlib.sha256(data).hexdigest()[:16]
    stem, ext = os.path.splitext(os.path.basename(path))
    safe = re.sub(r"[^A-Za-z0-9_.-]", "_", stem)[:40] or "file"
    return "%s/%s.%s%s" % (folder, safe, digest, ext.lower())


def story_characters(game, files, engine_chars):
    chars = set(chr(c) for c in range(0x20, 0x7F))
    chars.update(engine_chars)
    for rel in files:
        if rel.startswith("txt/"):
            with open(os.path.join(game, rel), "rb") as f:
                chars.update(f.read().decode("cp932", errors="ignore"))
    return "".join(sorted(c for c in chars if c.isprintable()))


def font_subset(text, out_path):
    """The story face cut to the characters given, renamed: a subset must not carry the face's
    own name."""
    from fontTools import subset
    from fontTools.ttLib import TTFont

    options = subset.Options()
    options.hinting = True  # the glyphs must come out as the desktop draws them
    options.name_IDs = ["*"]
    options.notdef_outline = True
    font = TTFont(STORY_FONT)
    subsetter = subset.Subsetter(options)
    subsetter.populate(text=text)
    subsetter.subset(font)
    for record in font["name"].names:
        if record.nameID in (1, 3, 4, 16, 17, 18, 21, 22):
            record.string = "Veltrane Story Mincho"
        elif record.nameID == 6:
            record.string = "VeltraneStoryMincho"
    font.save(out_path)


def check_output(out):
    if os.path.exists(out) and (not os.path.isdir(out) or os.listdir(out)):
        raise Refusal("%s exists and is not an empty folder" % out)
    parent = os.path.dirname(os.path.abspath(out)) or "."
    if not os.access(parent, os.W_OK):
        raise Refusal("cannot write in %s" % parent)


def lint(game):
    result = subprocess.run([tool("veltrane-lint"), game], capture_output=True, text=True)
    if result.returncode != 0:
        first = (result.stdout + result.stderr).strip().splitlines()
        raise Refusal("the story has errors (veltrane-lint %s): %s" % (game, first[0] if first else "?"))


def find_share(name):
    for d in filter(None, SHARE_DIRS):
        if os.path.exists(os.path.join(d, name)):
            return os.path.join(d, name)
    raise Refusal("the engine for the browser is not built (no %s under %s)" % (name, " or ".join(filter(None, SHARE_DIRS))))


def write(staging, rel, data):
    path = os.path.join(staging, rel)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)


def read(path):
    with open(path, "rb") as f:
        return f.read()


def licences(staging, name, midi):
    texts = [("veltrane.txt", find_share("LICENSE")), ("font-ipa.txt", FONT_LICENCE),
             ("freetype.txt", find_share("LICENSE.freetype")), ("zlib.txt", find_share("LICENSE.zlib"))]
    if midi:
        texts += [("spessasynth.txt", find_share("LICENSE.spessasynth")), ("soundfont-timgm6mb.txt", SOUNDFONT_LICENCE)]
    for target, source in texts:
        write(staging, "%s/%s" % (name, target), read(source))


def pack_web(game, out, title, name):
    files = game_files(game)
    if not any(f.lower() == "txt/config.tda" for f in files):
        raise Refusal("%s has no txt/config.tda" % game)
    staging = tempfile.mkdtemp(prefix=".veltrane-pack.", dir=os.path.dirname(os.path.abspath(out)) or ".")
    try:
        manifest = {"title": title, "id": game_id(name), "files": {}}
        for rel in files:
            data = read(os.path.join(game, rel))
            if len(data) >= MAX_FILE_BYTES:
                raise Refusal("%s is %d bytes; a web host takes files under 100 MB" % (rel, len(data)))
            name = hashed_name(rel, data, "game")
            write(staging, name, data)
            manifest["files"][rel] = name
        engine_chars = read(find_share("engine-chars.txt")).decode("utf-8")
        font_path = os.path.join(staging, "story.ttf")
        font_subset(story_characters(game, files, engine_chars), font_path)
        font = read(font_path)
        os.unlink(font_path)
        manifest["font"] = hashed_name("story.ttf", font, "engine")
        write(staging, manifest["font"], font)
        page = {}
        for part in ("veltrane.js", "veltrane.wasm", "page.js", "audio.js"):
            data = read(find_share(part))
            page[part] = hashed_name(part, data, "engine")
            write(staging, page[part], data)
        manifest["wasm"] = page["veltrane.wasm"]
        # the synthesizer and its soundfont only for a story with MIDI music
        midi = any(f.lower().endswith((".mid", ".midi")) for f in files)
        if midi:
            for part, source in (("synth", find_share("synth.js")), ("soundfont", SOUNDFONT)):
                data = read(source)
                manifest[part] = hashed_name(source, data, "engine")
                write(staging, manifest[part], data)
        licences(staging, "licences", midi)
        html = read(find_share("index.html")).decode("utf-8")
        escaped = title.replace("&", "&amp;").replace("<", "&lt;").replace(">", "&gt;")
        html = (html.replace("@TITLE@", escaped)
                .replace("@GAME@", json.dumps(manifest, ensure_ascii=False).replace("</", "<\\/"))
                .replace("@AUDIO_JS@", page["audio.js"]).replace("@PAGE_JS@", page["page.js"])
                .replace("@ENGINE_JS@", page["veltrane.js"]))
        write(staging, "index.html", html.encode("utf-8"))
        count = sum(len(n) for _, _, n in os.walk(staging))
        if count > MAX_FILES:
            raise Refusal("the page would hold %d files; web hosts take at most %d" % (count, MAX_FILES))
        if os.path.isdir(out):
            os.rmdir(out)
        os.rename(staging, out)
    except BaseException:
        shutil.rmtree(staging, ignore_errors=True)
        raise


def main(argv):
    parser = argparse.ArgumentParser(prog="veltrane-pack", description="publishes a story: a web page folder, or a Debian package")
    kind = parser.add_mutually_exclusive_group(required=True)
    kind.add_argument("--web", action="store_true", help="a static folder any web host serves as it is")
    kind.add_argument("--deb", action="store_true", help="a Debian package (amd64) of the story and the engine")
    parser.add_argument("--title", help="the story's title (default: the folder's name)")
    parser.add_argument("--name", help="the package's name (default: from the title)")
    parser.add_argument("--version", default="1.0", help="the package's version (default 1.0)")
    parser.add_argument("game", metavar="GAME")
    parser.add_argument("out", metavar="OUT")
    args = parser.parse_args(argv)
    game = os.path.abspath(args.game)
    title = args.title or os.path.basename(game.rstrip("/"))
    try:
        if not os.path.isdir(game):
            raise Refusal("%s is not a folder" % args.game)
        check_output(args.out)
        lint(game)
        if args.web:
            pack_web(game, args.out, title, args.name or os.path.basename(game.rstrip("/")))
        else:
            raise Refusal("--deb is not built yet")
    except Refusal as why:
        print("veltrane-pack: %s" % why, file=sys.stderr)
        return 1
    except OSError as e:
        print("veltrane-pack: %s" % e, file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
