# The set-up commands: `make demo` plays the bundled demo game and `make install` installs it, each
# with only what playing needs; `make test` adds the developer toolchain and runs every test.
# Extra CMake arguments (for example -DCMAKE_COMPILE_WARNING_AS_ERROR=ON) go in CMAKE_ARGS.
PRESET ?= default
BUILD_DIR = $(if $(filter asan,$(PRESET)),build-asan,build)
CMAKE_ARGS ?=
PREFIX ?= /usr/local
# the programs a reader or an author runs, which are all that `make install` installs
PROGRAMS = veltrane veltrane-replay veltrane-lint veltrane-convert veltrane-new veltrane-pack
# the sanitizer build leaves the benchmarks out, as its preset says
BENCH = $(if $(filter asan,$(PRESET)),OFF,ON)

.PHONY: demo test deps dev-deps web-deps web-engine programs configure-programs build install assets sounds scripts screenshots web web-serve

# the game alone: the other programs are for authors, built by `make install` and `make test`
demo: configure-programs
	cmake --build --preset $(PRESET) --target veltrane
	cd demo && ../$(BUILD_DIR)/veltrane

# every test, the browser's too: the page is built and the demo packed first
test: build web-engine
	rm -rf build-web/demo
	./$(BUILD_DIR)/veltrane-pack --web demo build-web/demo
	ctest --preset $(PRESET) -j2

# The programs alone, on the runtime packages: no tests, no benchmarks.
programs: configure-programs
	cmake --build --preset $(PRESET) --target $(PROGRAMS)

configure-programs: deps
	cmake --preset $(PRESET) -DVELTRANE_TESTS=OFF -DVELTRANE_BENCH=OFF $(CMAKE_ARGS)

# Everything: the programs, the tests, the benchmarks and the asset generators.
build: dev-deps
	cmake --preset $(PRESET) -DVELTRANE_TESTS=ON -DVELTRANE_BENCH=$(BENCH) $(CMAKE_ARGS)
	cmake --build --preset $(PRESET)

# Installs the programs, the demo game with its script sources, the manuals and their examples, the
# desktop entry and the icon under PREFIX.
install: programs
	cmake --install $(BUILD_DIR) --prefix $(PREFIX)

deps:
	./tools/install-deps.sh

dev-deps:
	./tools/install-deps.sh --dev

web-deps:
	./tools/install-deps.sh --web

# The engine for the browser, in build-web/web: FreeType and zlib from Debian's sources with emcc,
# the CP932 tables read off this machine's iconv, then the page program. emcc's optimiser finds
# Debian's acorn only on NODE_PATH.
web-engine: web-deps
	./tools/web/build-deps.sh build-web/deps
	g++ -O2 -std=c++20 -Isrc/platform src/platform/files/cp932_table_gen.cpp -o build-web/veltrane-cp932-table
	NODE_PATH=/usr/share/nodejs emcmake cmake -S . -B build-web -G Ninja -DCMAKE_BUILD_TYPE=MinSizeRel \
		-DVELTRANE_CP932_GENERATOR=$(CURDIR)/build-web/veltrane-cp932-table
	NODE_PATH=/usr/share/nodejs cmake --build build-web

# The bundled demo as a web page in build-web/demo, and a server for it on localhost.
web: web-engine programs
	rm -rf build-web/demo
	./$(BUILD_DIR)/veltrane-pack --web demo build-web/demo

web-serve: web
	@echo "the demo is at http://localhost:8000/ (Ctrl+C ends the server)"
	python3 -m http.server 8000 --bind 127.0.0.1 -d build-web/demo

# Regenerates the demo's fixed pictures and the program icon (they are committed).
assets: build
	./$(BUILD_DIR)/veltrane-assets .

# Regenerates the demo's sound effects and music (they are committed); the MP3 needs the encoder lame.
sounds: build
	mkdir -p demo/wav demo/MIDI
	./$(BUILD_DIR)/veltrane-sounds . $(BUILD_DIR)/evening.wav
	lame --quiet --noreplaygain -m m -b 64 $(BUILD_DIR)/evening.wav demo/MIDI/evening.mp3

# Writes each demo script's Shift-JIS, CR LF form (txt/NAME.tda) from its UTF-8 source (txt/NAME.utf8.txt).
scripts: programs
	for f in demo/txt/*.utf8.txt; do ./$(BUILD_DIR)/veltrane-convert "$$f" "$${f%.utf8.txt}.tda" || exit 1; done

# The README's pictures of the demo, taken by auto-play (they are committed).
screenshots: build
	rm -rf $(BUILD_DIR)/shots
	./$(BUILD_DIR)/veltrane-replay --auto-click 300 --choose 1 --start-menu --shots $(BUILD_DIR)/shots demo
	cp $(BUILD_DIR)/shots/0004-wait.png docs/screenshots/harbor.png
	cp $(BUILD_DIR)/shots/0009-choice.png docs/screenshots/choice.png
	cp $(BUILD_DIR)/shots/0019-wait.png docs/screenshots/blend.png
	cp $(BUILD_DIR)/shots/0023-wait.png docs/screenshots/letter.png
