# The browser build (emcmake cmake): the engine, the reader and the browser backend as one page
# program, on FreeType and zlib built with emcc from Debian's sources into VELTRANE_WEB_DEPS
# (tools/web/build-deps.sh). The tools, tests and benchmarks are the desktop build's.
set(VELTRANE_WEB_DEPS ${CMAKE_BINARY_DIR}/deps CACHE PATH "FreeType and zlib built for the browser")
foreach(lib freetype z)
    if(NOT EXISTS ${VELTRANE_WEB_DEPS}/lib/lib${lib}.a)
        message(FATAL_ERROR "no ${VELTRANE_WEB_DEPS}/lib/lib${lib}.a: run tools/web/build-deps.sh ${VELTRANE_WEB_DEPS}")
    endif()
endforeach()
add_library(Web::FreeType STATIC IMPORTED)
set_target_properties(Web::FreeType PROPERTIES IMPORTED_LOCATION ${VELTRANE_WEB_DEPS}/lib/libfreetype.a
                      INTERFACE_INCLUDE_DIRECTORIES ${VELTRANE_WEB_DEPS}/include/freetype2)
add_library(Web::Zlib STATIC IMPORTED)
set_target_properties(Web::Zlib PROPERTIES IMPORTED_LOCATION ${VELTRANE_WEB_DEPS}/lib/libz.a
                      INTERFACE_INCLUDE_DIRECTORIES ${VELTRANE_WEB_DEPS}/include)
set(VELTRANE_ZLIB Web::Zlib)
add_subdirectory(src)
