# The two set-up commands: `make demo` plays the bundled demo game, `make test` runs every test.
# Extra CMake arguments (for example -DCMAKE_COMPILE_WARNING_AS_ERROR=ON) go in CMAKE_ARGS.
PRESET ?= default
BUILD_DIR = $(if $(filter asan,$(PRESET)),build-asan,build)
CMAKE_ARGS ?=
PREFIX ?= /usr/local

.PHONY: demo test deps build install assets sounds scripts screenshots

demo: build
	cd demo && ../$(BUILD_DIR)/veltrane

test: build
	ctest --preset $(PRESET) -j2

build: deps
	cmake --preset $(PRESET) $(CMAKE_ARGS)
	cmake --build --preset $(PRESET)

# Installs the programs, the demo game, the desktop entry and the icon under PREFIX.
install: build
	cmake --install $(BUILD_DIR) --prefix $(PREFIX)

deps:
	./tools/install-deps.sh

# Regenerates the demo's fixed pictures and the program icon (they are committed).
assets: build
	./$(BUILD_DIR)/veltrane-assets .

# Regenerates the demo's sound effects and music (they are committed); the MP3 needs the encoder lame.
sounds: build
	mkdir -p demo/wav demo/MIDI
	./$(BUILD_DIR)/veltrane-sounds . $(BUILD_DIR)/evening.wav
	lame --quiet --noreplaygain -m m -b 64 $(BUILD_DIR)/evening.wav demo/MIDI/evening.mp3

# Writes each demo script's Shift-JIS, CR LF form (txt/NAME.tda) from its UTF-8 source (txt/NAME.utf8.txt).
scripts:
	for f in demo/txt/*.utf8.txt; do sed 's/$$/\r/' "$$f" | iconv -f UTF-8 -t CP932 > "$${f%.utf8.txt}.tda"; done

# The README's pictures of the demo, taken by auto-play (they are committed).
screenshots: build
	rm -rf $(BUILD_DIR)/shots
	./$(BUILD_DIR)/veltrane-replay --auto-click 300 --choose 1 --start-menu --shots $(BUILD_DIR)/shots demo
	cp $(BUILD_DIR)/shots/0004-wait.png docs/screenshots/harbor.png
	cp $(BUILD_DIR)/shots/0008-choice.png docs/screenshots/choice.png
	cp $(BUILD_DIR)/shots/0017-wait.png docs/screenshots/blend.png
	cp $(BUILD_DIR)/shots/0021-wait.png docs/screenshots/letter.png
