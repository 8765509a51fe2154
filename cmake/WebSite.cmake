# The browser build's output: a static folder, site/, that any web server
# serves: the page (platform/web/page/), zarvel.js and zarvel.wasm (the
# program), zarvel.data (the content and the fonts, packed at the paths the
# desktop install uses). The fonts are the faces the game asks for (Comic
# Sans MS, which is Comic Neue here, in its four styles) and DejaVu Sans for
# any other name; its bold and oblique styles (2 MB) are left out, as no text
# of the game asks for them (platform/web/FaceMatch.cpp falls back to the
# regular face).
set(ZV_SITE ${CMAKE_BINARY_DIR}/site)
set(ZV_FONTS
  /usr/share/fonts/opentype/comic-neue/ComicNeue-Regular.otf
  /usr/share/fonts/opentype/comic-neue/ComicNeue-Bold.otf
  /usr/share/fonts/opentype/comic-neue/ComicNeue-Italic.otf
  /usr/share/fonts/opentype/comic-neue/ComicNeue-BoldItalic.otf
  /usr/share/fonts/truetype/dejavu/DejaVuSans.ttf)
# (SHELL: keeps CMake from merging the repeated --preload-file options.)
set(ZV_PACK "SHELL:--preload-file ${CMAKE_SOURCE_DIR}/Assets@/usr/share/games/zarvel/Assets")
foreach(font ${ZV_FONTS})
  if(NOT EXISTS ${font})
    message(FATAL_ERROR "${font} is missing: install fonts-comic-neue and fonts-dejavu-core")
  endif()
  list(APPEND ZV_PACK "SHELL:--preload-file ${font}@${font}")
endforeach()

set_target_properties(zarvel PROPERTIES SUFFIX ".js" RUNTIME_OUTPUT_DIRECTORY ${ZV_SITE}
  LINK_DEPENDS ${CMAKE_SOURCE_DIR}/platform/web/pre.js)
target_link_options(zarvel PRIVATE
  -sASYNCIFY -sASYNCIFY_STACK_SIZE=262144
  -sMIN_WEBGL_VERSION=2 -sMAX_WEBGL_VERSION=2
  -sALLOW_MEMORY_GROWTH=1 -sINITIAL_MEMORY=67108864
  -sEXIT_RUNTIME=1 -sFORCE_FILESYSTEM=1 -sENVIRONMENT=web
  "-sEXPORTED_RUNTIME_METHODS=['FS']"
  # What SDL's JavaScript calls (autoResumeAudioContext, dynCall): in a
  # response file, as a '$' would not reach emcc through the generator.
  "SHELL:@${CMAKE_SOURCE_DIR}/platform/web/link-library.rsp"
  -lidbfs.js
  "SHELL:--pre-js ${CMAKE_SOURCE_DIR}/platform/web/pre.js"
  ${ZV_PACK})

# The page's own files, copied beside the program whenever one changes.
file(GLOB ZV_PAGE_FILES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/platform/web/page/*)
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/web_page.stamp
  COMMAND ${CMAKE_COMMAND} -E make_directory ${ZV_SITE}
  COMMAND ${CMAKE_COMMAND} -E copy ${ZV_PAGE_FILES} ${ZV_SITE}/
  COMMAND ${CMAKE_COMMAND} -E touch ${CMAKE_BINARY_DIR}/web_page.stamp
  DEPENDS ${ZV_PAGE_FILES} VERBATIM)
add_custom_target(web_page DEPENDS ${CMAKE_BINARY_DIR}/web_page.stamp)
add_dependencies(zarvel web_page)
