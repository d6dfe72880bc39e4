#!/usr/bin/python3
"""veltrane-pack: a finished story as a web page folder (--web) or a Debian package (--deb).

The story is checked with veltrane-lint first; a story with errors is refused. The output is made in
a folder beside its final place and renamed into it only once whole, so that a refusal or a failure
leaves nothing half-written.
"""
import argparse
import contextlib
import hashlib
import importlib.util
import json
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import textwrap
import unicodedata

HERE = os.path.dirname(os.path.realpath(__file__))
# The engine's own files, where a build tree (beside the source tree) or an install keeps them: the
# page's files and the engine built for the browser, the program icon and the licence.
SHARE_DIRS = [os.environ.get("VELTRANE_WEB_DIR", ""), os.path.join(HERE, "..", "build-web", "web"),
              os.path.join(HERE, "..", "share", "veltrane", "web")]
ICONS = [os.path.join(HERE, "..", "data", "veltrane.png"),
         os.path.join(HERE, "..", "share", "icons", "hicolor", "32x32", "apps", "veltrane.png")]
LICENCES = [os.path.join(HERE, "..", "LICENSE"),
            os.path.join(HERE, "..", "share", "doc", "veltrane", "LICENSE")]
STORY_FONT = "/usr/share/fonts/opentype/ipafont-mincho/ipam.ttf"
FONT_LICENCE = "/usr/share/doc/fonts-ipafont-mincho/copyright"
SOUNDFONT = "/usr/share/sounds/sf2/TimGM6mb.sf2"
SOUNDFONT_LICENCE = "/usr/share/doc/timgm6mb-soundfont/copyright"
GAME_FOLDERS = ("txt", "gdat", "wav", "MIDI")
WEB_PARTS = ("veltrane.js", "veltrane.wasm", "page.js", "audio.js", "index.html", "engine-chars.txt",
             "LICENSE", "LICENSE.freetype", "LICENSE.zlib", "synth.js", "LICENSE.spessasynth")
STAGING_PREFIX = ".veltrane-pack."
MAX_FILES = 1000
MAX_FILE_BYTES = 100 * 1000 * 1000
# What the engine needs on the reader's machine, as Debian 12 packages it: the libraries it links
# (dpkg-shlibdeps on the engine), the story's and the dialogs' faces and the MIDI soundfont. A story's
# package depends on these and contains none of them.
DEPENDS = ("libc6 (>= 2.34)", "libfluidsynth3 (>= 2.0.5)", "libfontconfig1 (>= 2.12.6)",
           "libfreetype6 (>= 2.4.10)", "libgcc-s1 (>= 3.0)", "libsdl2-2.0-0 (>= 2.24.0)",
           "libsdl2-mixer-2.0-0 (>= 2.6.0)", "libstdc++6 (>= 11)", "libx11-6", "zlib1g (>= 1:1.2.0)",
           "fonts-ipafont-mincho", "fonts-ipaexfont-gothic", "timgm6mb-soundfont")
PACKAGE_NAME = re.compile(r"[a-z0-9][a-z0-9+.-]+")
DEBIAN_VERSION = re.compile(r"([0-9]+:)?[0-9][A-Za-z0-9.+~-]*")


class Refusal(Exception):
    code = 1


class BadCommandLine(Refusal):
    """A command line that cannot be followed, told before anything is looked at, as every program
    tells it."""
    code = 2


def first_present(candidates, missing):
    for path in candidates:
        if os.path.isfile(path):
            return path
    raise Refusal("%s (looked for %s)" % (missing, ", ".join(os.path.normpath(p) for p in candidates)))


def tool(name):
    """A sibling program of this one, as built or installed beside it, else on the PATH."""
    path = os.path.join(HERE, name)
    found = path if os.access(path, os.X_OK) else shutil.which(name)
    if not found:
        raise Refusal("%s is neither beside veltrane-pack nor on the PATH" % name)
    return found


def game_id(name):
    """The name the engine keeps a story's saves under, as it makes it from --id: the first 40 bytes,
    each that is not a letter, digit, '-', '_' or '.' made '_'."""
    kept = "".join(chr(b) if chr(b).isascii() and (chr(b).isalnum() or chr(b) in "-_.") else "_"
                   for b in name.encode("utf-8")[:40])
    return "game" + kept if not kept or kept[0] == "." else kept


def game_files(game):
    """The files a story plays from, as paths relative to its folder: the scripts and the media. The
    engine finds its folders in any letter case, and so do we."""
    wanted = {folder.lower() for folder in GAME_FOLDERS}
    found = []
    for top in sorted(os.listdir(game)):
        if top.lower() not in wanted:
            continue
        for dirpath, _, names in os.walk(os.path.join(game, top)):
            for name in names:
                path = os.path.join(dirpath, name)
                # a script's UTF-8 source is the author's, not the reader's; a pipe would never end
                if (top.lower() == "txt" and not name.lower().endswith(".tda")) or not os.path.isfile(path):
                    continue
                found.append(os.path.relpath(path, game))
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
        if rel.lower().startswith("txt/"):
            with open(os.path.join(game, rel), "rb") as f:
                chars.update(f.read().decode("cp932", errors="ignore"))
    # every character the engine may draw: the ideographic space too, whose glyph is the face's own
    return "".join(sorted(c for c in chars if not unicodedata.category(c).startswith("C")))


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
        raise BadCommandLine("%s exists and is not an empty folder" % out)


@contextlib.contextmanager
def staging_beside(out):
    """A scratch folder on the output's file system, so that the finished output is renamed into
    place; it goes, with whatever is left in it, however the packing ends."""
    parent = os.path.dirname(os.path.abspath(out))
    try:
        staging = tempfile.mkdtemp(prefix=STAGING_PREFIX, dir=parent)
    except OSError as e:
        raise Refusal("cannot write in %s: %s" % (parent, e.strerror))
    try:
        yield staging
    finally:
        shutil.rmtree(staging, ignore_errors=True)


def publish(made, out):
    if os.path.isdir(out):
        os.rmdir(out)
    os.rename(made, out)


def lint(game):
    result = subprocess.run([tool("veltrane-lint"), game], capture_output=True, text=True)
    if result.returncode != 0:
        lines = (result.stdout + result.stderr).strip().splitlines()
        # the refusal tells an error, not a warning that came before it
        first = [line for line in lines if ": error: " in line] or lines
        raise Refusal("the story has errors (veltrane-lint %s): %s" % (game, first[0] if first else "?"))


def write(root, rel, data, mode=0o644):
    path = os.path.join(root, rel)
    try:
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as f:
            f.write(data)
        os.chmod(path, mode)
    except OSError as e:  # a full disk is told at the write, which names no file
        raise OSError(e.errno, e.strerror, path) from None


def read(path):
    with open(path, "rb") as f:
        return f.read()


def web_parts():
    """The browser engine's files, all found before any work is done."""
    parts = {}
    for part in WEB_PARTS:
        where = [os.path.join(d, part) for d in SHARE_DIRS if d]
        parts[part] = first_present(where, "the engine for the browser is not built: no " + part)
    parts["font"] = first_present([STORY_FONT], "the story's face is not installed (fonts-ipafont-mincho)")
    parts["font licence"] = first_present([FONT_LICENCE], "no licence of the story's face")
    parts["soundfont"] = first_present([SOUNDFONT], "the MIDI soundfont is not installed (timgm6mb-soundfont)")
    parts["soundfont licence"] = first_present([SOUNDFONT_LICENCE], "no licence of the MIDI soundfont")
    if not importlib.util.find_spec("fontTools"):
        raise Refusal("python3-fonttools is not installed: it cuts the story's face down for the page")
    return parts


def pack_web(game, page, title, story_id, parts):
    files = game_files(game)
    manifest = {"title": title, "id": game_id(story_id), "files": {}}
    for rel in files:
        data = read(os.path.join(game, rel))
        if len(data) >= MAX_FILE_BYTES:
            raise Refusal("%s is %d bytes; a web host takes files under 100 MB" % (rel, len(data)))
        name = hashed_name(rel, data, "game")
        write(page, name, data)
        manifest["files"][rel] = name
    font_path = os.path.join(page, "story.ttf")
    font_subset(story_characters(game, files, read(parts["engine-chars.txt"]).decode("utf-8")), font_path)
    font = read(font_path)
    os.unlink(font_path)
    manifest["font"] = hashed_name("story.ttf", font, "engine")
    write(page, manifest["font"], font)
    hashed = {}
    for part in ("veltrane.js", "veltrane.wasm", "page.js", "audio.js"):
        data = read(parts[part])
        hashed[part] = hashed_name(part, data, "engine")
        write(page, hashed[part], data)
    manifest["wasm"] = hashed["veltrane.wasm"]
    licences = [("veltrane.txt", "LICENSE"), ("font-ipa.txt", "font licence"), ("freetype.txt", "LICENSE.freetype"),
                ("zlib.txt", "LICENSE.zlib")]
    # the synthesizer and its soundfont only for a story with MIDI music
    if any(f.lower().endswith((".mid", ".midi")) for f in files):
        for part in ("synth.js", "soundfont"):
            data = read(parts[part])
            manifest[part.split(".")[0]] = hashed_name(parts[part], data, "engine")
            write(page, manifest[part.split(".")[0]], data)
        licences += [("spessasynth.txt", "LICENSE.spessasynth"), ("soundfont-timgm6mb.txt", "soundfont licence")]
    for target, part in licences:
        write(page, "licences/" + target, read(parts[part]))
    html = read(parts["index.html"]).decode("utf-8")
    escaped = title.replace("&", "&amp;").replace("<", "&lt;").replace(">", "&gt;")
    html = (html.replace("@TITLE@", escaped)
            .replace("@GAME@", json.dumps(manifest, ensure_ascii=False).replace("</", "<\\/"))
            .replace("@AUDIO_JS@", hashed["audio.js"]).replace("@PAGE_JS@", hashed["page.js"])
            .replace("@ENGINE_JS@", hashed["veltrane.js"]))
    write(page, "index.html", html.encode("utf-8"))
    count = sum(len(n) for _, _, n in os.walk(page))
    if count > MAX_FILES:
        raise Refusal("the page would hold %d files; web hosts take at most %d" % (count, MAX_FILES))


def deb_parts():
    """The engine, its icon and licence, and dpkg-deb, all found before any work is done."""
    engine = os.path.join(HERE, "veltrane")
    if not os.access(engine, os.X_OK):
        raise Refusal("no engine beside veltrane-pack (%s)" % engine)
    if not shutil.which("dpkg-deb"):
        raise Refusal("dpkg-deb is not installed (package dpkg)")
    return {"engine": engine, "icon": first_present(ICONS, "no program icon"),
            "licence": first_present(LICENCES, "no licence of Veltrane")}


def desktop_entry(title, name):
    # a desktop entry's string takes a backslash as the start of an escape
    return ("[Desktop Entry]\nType=Application\nName=%s\nComment=A story played by Veltrane\n"
            "Exec=/usr/games/%s\nIcon=%s\nTerminal=false\nCategories=Game;\n"
            % (title.replace("\\", "\\\\"), name, name))


def copyright_text(title, name, licence):
    packages = textwrap.fill(", ".join(sorted(d.split()[0] for d in DEPENDS)) + ".", 100,
                             initial_indent="  ", subsequent_indent="  ")
    return ("%s\n\nThe story, in /usr/share/%s/game, is the work of its authors, under their terms.\n\n"
            "The engine that plays it, /usr/lib/%s/veltrane, and the program icon are Veltrane's:\n\n%s\n"
            "The libraries the engine links, the faces it draws text with and the soundfont it plays\n"
            "MIDI with are not in this package: they are its dependencies, each with its own licence in\n"
            "/usr/share/doc/PACKAGE/copyright:\n%s\n" % (title, name, name, licence, packages))


def maintainer(name):
    """Who answers for the package, as Debian's own tools take it from the environment."""
    email = " ".join(os.environ.get("DEBEMAIL", "").split())
    if "<" in email:
        return email
    full = " ".join(os.environ.get("DEBFULLNAME", "").split()) or "The %s authors" % name
    return "%s <%s>" % (full, email or name + "@localhost")


def control(title, name, version, size_kib):
    return ("Package: %s\nVersion: %s\nArchitecture: amd64\nMaintainer: %s\nInstalled-Size: %d\n"
            "Depends: %s\nSection: games\nPriority: optional\nDescription: %s (a visual novel)\n"
            " The story %s, with its own copy of the Veltrane engine to play it. Start it\n"
            " from the desktop's Games menu, or with the command %s.\n"
            % (name, version, maintainer(name), size_kib, ", ".join(DEPENDS), title, title, name))


def settle(root):
    """Every file readable by all and every folder open to all, whatever the author's umask; the
    programs executable. Returns the md5sums lines and the installed size in KiB."""
    sums, kib = [], 0
    for dirpath, _, names in os.walk(root):
        os.chmod(dirpath, 0o755)
        kib += 1
        for name in sorted(names):
            path = os.path.join(dirpath, name)
            os.chmod(path, 0o755 if os.stat(path).st_mode & 0o100 else 0o644)
            kib += (os.path.getsize(path) + 1023) // 1024
            sums.append(b"%s  %s\n" % (hashlib.md5(read(path)).hexdigest().encode(),
                                       os.fsencode(os.path.relpath(path, root))))
    return b"".join(sorted(sums)), kib


def deb_tree(game, root, title, name, version, parts):
    """The package's files, every path of them the story's own, so that two stories never share a
    file and the next version replaces this one whole."""
    for rel in game_files(game):
        write(root, "usr/share/%s/game/%s" % (name, rel), read(os.path.join(game, rel)))
    engine = "usr/lib/%s/veltrane" % name
    write(root, engine, read(parts["engine"]), 0o755)
    if shutil.which("strip"):  # the debugging symbols are the developer's, as Debian ships programs
        subprocess.run(["strip", "--strip-unneeded", os.path.join(root, engine)], capture_output=True)
    # the story's saves go by its package name, whatever the folder it is installed in is called
    launcher = ('#!/bin/sh\n# plays the story with its own copy of the engine\n'
                'exec /%s --id %s "$@" /usr/share/%s/game\n')
    write(root, "usr/games/" + name, (launcher % (engine, name, name)).encode(), 0o755)
    write(root, "usr/share/applications/%s.desktop" % name, desktop_entry(title, name).encode())
    write(root, "usr/share/icons/hicolor/32x32/apps/%s.png" % name, read(parts["icon"]))
    licence = read(parts["licence"]).decode("utf-8")
    write(root, "usr/share/doc/%s/copyright" % name, copyright_text(title, name, licence).encode())
    sums, kib = settle(root)
    write(root, "DEBIAN/md5sums", sums)
    write(root, "DEBIAN/control", control(title, name, version, kib).encode())
    os.chmod(os.path.join(root, "DEBIAN"), 0o755)


def pack_deb(game, made, title, name, version, parts):
    root = os.path.join(os.path.dirname(made), "root")
    deb_tree(game, root, title, name, version, parts)
    os.mkdir(made)
    # a file's name leaves out the version's epoch, as Debian's archive names them
    deb = os.path.join(made, "%s_%s_amd64.deb" % (name, version.split(":")[-1]))
    result = subprocess.run(["dpkg-deb", "--root-owner-group", "--build", root, deb], capture_output=True,
                            text=True)
    if result.returncode != 0:
        told = result.stderr.strip().splitlines() or ["it ended with %d" % result.returncode]
        raise Refusal("dpkg-deb failed: %s" % told[0])


def one_line(raw, what):
    """Text from the command line or a folder's name, which may be Shift-JIS, as the engine's are."""
    data = os.fsencode(raw)
    for encoding in ("utf-8", "cp932"):
        with contextlib.suppress(UnicodeDecodeError):
            text = data.decode(encoding)
            break
    else:
        text = data.decode("utf-8", errors="replace")
    if not text.strip() or any(unicodedata.category(c) == "Cc" for c in text):
        raise BadCommandLine("%s must be one line of text" % what)
    return text.strip()


def package_name(title, given, needed):
    if given is None and not needed:
        return None
    if given is not None and not PACKAGE_NAME.fullmatch(given):
        raise BadCommandLine("--name %s is not a package name: lower-case letters, digits, '+', '-' and '.', "
                      "starting with a letter or digit, at least 2 characters" % given)
    plain = unicodedata.normalize("NFKD", title).encode("ascii", "ignore").decode().lower()
    name = given or re.sub(r"[^a-z0-9+.]+", "-", plain).strip("+-.")
    if not PACKAGE_NAME.fullmatch(name):
        raise BadCommandLine("the title %s gives no package name: give one with --name" % title)
    if name == "veltrane":
        raise BadCommandLine("veltrane is the engine's own name: give the story's with --name")
    return name


def check_version(version):
    if not DEBIAN_VERSION.fullmatch(version) or version.endswith("-"):
        raise BadCommandLine("--version %s is not a Debian version: a digit, then letters, digits and '.+~-' "
                      "(1.0, 1.1~beta1, 2.0-1)" % version)


def failure(error, out):
    """A file that could not be read or written, told as the author knows it: a file of the story,
    or the output, whose scratch folder is gone by now."""
    name = os.fsdecode(error.filename or "")
    if STAGING_PREFIX in name:
        return "cannot write %s: %s; nothing was kept" % (out, error.strerror)
    return "%s: %s" % (name, error.strerror) if name else str(error)


def main(argv):
    parser = argparse.ArgumentParser(prog="veltrane-pack",
                                     description="publishes a story: a web page folder, or a Debian package")
    kind = parser.add_mutually_exclusive_group(required=True)
    kind.add_argument("--web", action="store_true", help="a static folder any web host serves as it is")
    kind.add_argument("--deb", action="store_true",
                      help="a Debian package (amd64) of the story and the engine")
    parser.add_argument("--title", help="the story's title (default: the folder's name)")
    parser.add_argument("--name", help="the package's name (default: from the title)")
    parser.add_argument("--version", default="1.0", help="the package's version (default 1.0)")
    parser.add_argument("game", metavar="GAME", help="the story's game folder")
    parser.add_argument("out", metavar="OUT", help="what to make: a folder that is not there yet, or empty")
    # one line, as every program tells a command line it cannot follow
    parser.error = lambda message: parser.exit(2, "veltrane-pack: %s\n" % message)
    args = parser.parse_args(argv)
    game = os.path.abspath(args.game)
    try:
        title = one_line(args.title if args.title is not None else os.path.basename(game), "--title")
        name = package_name(title, args.name, args.deb)
        check_version(args.version)
        if not os.path.isdir(game):
            raise BadCommandLine("%s is not a folder" % args.game)
        check_output(args.out)
        parts = web_parts() if args.web else deb_parts()
        with staging_beside(args.out) as staging:
            lint(game)
            made = os.path.join(staging, "out")
            if args.web:
                pack_web(game, made, title, args.name or os.path.basename(game), parts)
            else:
                pack_deb(game, made, title, name, args.version, parts)
            publish(made, args.out)
    except Refusal as why:
        print("veltrane-pack: %s" % why, file=sys.stderr)
        return why.code
    except OSError as e:
        print("veltrane-pack: %s" % failure(e, args.out), file=sys.stderr)
        return 1
    except KeyboardInterrupt:
        return 130
    return 0


if __name__ == "__main__":
    # ended by a signal, the scratch folder still goes
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(143))
    sys.exit(main(sys.argv[1:]))
