# The page program: veltrane.js and veltrane.wasm. The calls that wait for the page (web_imports.h)
# unwind and rewind the stack through Asyncify; everything else runs as plain WebAssembly.
set(web ${PROJECT_SOURCE_DIR}/src/platform/web)
add_executable(veltrane reader/web_main.cpp ${PROJECT_SOURCE_DIR}/tools/replay/state_json.cpp ${icon_header})
target_include_directories(veltrane PRIVATE ${CMAKE_CURRENT_BINARY_DIR}/generated ${PROJECT_SOURCE_DIR}/tools/replay
                                            ${PROJECT_SOURCE_DIR}/tools)
target_link_libraries(veltrane PRIVATE veltrane_reader)
set(waits Web_wait Web_lock_held Web_lock_take Web_fetch Web_sync Web_sound_play Web_music_open)
list(JOIN waits "," wait_list)
# what the page calls: its handlers (web_input.cpp), the music's end, and the state line for tests
set(entries _main _Web_key _Web_mouse _Web_wheel _Web_resized _Web_exposed _Web_close _Web_music_ended _Web_state)
list(JOIN entries "," entry_list)
target_link_options(veltrane PRIVATE
    -sEXPORTED_FUNCTIONS=[${entry_list}] -sASYNCIFY -sASYNCIFY_IMPORTS=[${wait_list}] -sASYNCIFY_STACK_SIZE=65536
    -sALLOW_MEMORY_GROWTH -sINITIAL_MEMORY=64MB -sENVIRONMENT=web -sEXIT_RUNTIME
    -sFORCE_FILESYSTEM -lidbfs.js -sEXPORTED_RUNTIME_METHODS=[FS,IDBFS,ENV,addRunDependency,removeRunDependency,UTF8ToString]
    --js-library ${web}/library.js)
set_property(TARGET veltrane APPEND PROPERTY LINK_DEPENDS ${web}/library.js)

# build-web/web: what veltrane-pack puts in a story's page: the engine, the page's scripts and shell,
# the characters of the engine's own messages (the font subset keeps them) and the licence texts.
set(page ${CMAKE_BINARY_DIR}/web)
file(GLOB_RECURSE engine_sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/src/*.cpp ${PROJECT_SOURCE_DIR}/src/*.h)
add_custom_command(
    OUTPUT ${page}/engine-chars.txt
    COMMAND ${CMAKE_COMMAND} -E make_directory ${page}
    COMMAND python3 ${PROJECT_SOURCE_DIR}/tools/web/engine_chars.py ${PROJECT_SOURCE_DIR}/src ${page}/engine-chars.txt
    DEPENDS ${engine_sources} ${PROJECT_SOURCE_DIR}/tools/web/engine_chars.py
    COMMENT "Collecting the characters of the engine's messages")
add_custom_target(web_page ALL
    COMMAND ${CMAKE_COMMAND} -E make_directory ${page}
    COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE_DIR:veltrane>/veltrane.js $<TARGET_FILE_DIR:veltrane>/veltrane.wasm
            ${web}/page/page.js ${web}/page/audio.js ${web}/page/index.html ${page}/
    COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/LICENSE ${page}/LICENSE
    COMMAND ${CMAKE_COMMAND} -E copy ${VELTRANE_WEB_DEPS}/licences/freetype.txt ${page}/LICENSE.freetype
    COMMAND ${CMAKE_COMMAND} -E copy ${VELTRANE_WEB_DEPS}/licences/zlib.txt ${page}/LICENSE.zlib
    COMMAND ${CMAKE_COMMAND} -E copy ${VELTRANE_WEB_DEPS}/licences/spessasynth.txt ${page}/LICENSE.spessasynth
    COMMAND ${CMAKE_COMMAND} -E copy ${VELTRANE_WEB_DEPS}/synth/synth.js ${page}/synth.js
    DEPENDS veltrane ${page}/engine-chars.txt ${web}/page/page.js ${web}/page/audio.js ${web}/page/index.html
    COMMENT "Laying out the page's files in ${page}")
