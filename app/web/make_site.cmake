# Puts the static site together beside the program's .js and .wasm: the
# page (with the style sheet inside), the manifest, the icons and the service worker,
# whose cache is named after a hash of every other file, so that each
# version of the site is cached apart.
#
# The page carries its style and the main window's first picture inline, so
# that the first paint needs index.html alone; the program's JavaScript is
# minified.
#
#   cmake -DSITE=dir -DSOURCE=project-dir -DICON_TOOL=icon_png -DNODE=node
#         -DTERSER=terser -DSKELETON=web_skeleton.js -P make_site.cmake
cmake_minimum_required(VERSION 3.25)
foreach(variable SITE SOURCE ICON_TOOL NODE TERSER SKELETON)
  if(NOT ${variable})
    message(FATAL_ERROR "make_site.cmake needs -D${variable}=...")
  endif()
endforeach()

file(MAKE_DIRECTORY ${SITE}/icons)
execute_process(COMMAND ${NODE} ${SKELETON} OUTPUT_VARIABLE TS_SKELETON RESULT_VARIABLE printed)
if(NOT printed EQUAL 0 OR TS_SKELETON STREQUAL "")
  message(FATAL_ERROR "${SKELETON} printed no main window (${printed})")
endif()
file(READ ${SOURCE}/platform/web/web.css TS_STYLE)
file(READ ${SOURCE}/app/web/index.html page)
string(REPLACE "@TS_STYLE@" "${TS_STYLE}" page "${page}")
string(REPLACE "@TS_SKELETON@" "${TS_SKELETON}" page "${page}")
file(WRITE ${SITE}/index.html.new "${page}")
file(COPY_FILE ${SITE}/index.html.new ${SITE}/index.html ONLY_IF_DIFFERENT)
file(REMOVE ${SITE}/index.html.new)

# Minified once after each link (the linker writes the file anew).
execute_process(COMMAND ${TERSER} ${SITE}/tally-share.js --compress --mangle
                        --output ${SITE}/tally-share.js
                RESULT_VARIABLE minified)
if(NOT minified EQUAL 0)
  message(FATAL_ERROR "terser could not minify tally-share.js")
endif()
file(COPY_FILE ${SOURCE}/app/web/manifest.webmanifest ${SITE}/manifest.webmanifest
     ONLY_IF_DIFFERENT)
file(COPY_FILE ${SOURCE}/resources/tally-share.svg ${SITE}/icons/tally-share.svg
     ONLY_IF_DIFFERENT)

# The icons for the home screen, drawn by the program's own drawing.
function(draw_icon size name)
  execute_process(COMMAND ${ICON_TOOL} ${size} ${SITE}/icons/${name} ${ARGN}
                  RESULT_VARIABLE drawn)
  if(NOT drawn EQUAL 0)
    message(FATAL_ERROR "${ICON_TOOL} could not draw ${name}")
  endif()
endfunction()
draw_icon(192 icon-192.png)
draw_icon(512 icon-512.png)
draw_icon(512 icon-maskable-512.png maskable)

set(files index.html tally-share.js tally-share.wasm manifest.webmanifest
    icons/tally-share.svg icons/icon-192.png icons/icon-512.png icons/icon-maskable-512.png)
set(hashes "")
set(listed "'./'")
foreach(name IN LISTS files)
  if(NOT EXISTS ${SITE}/${name})
    message(FATAL_ERROR "the site lacks ${name}")
  endif()
  file(SHA256 ${SITE}/${name} hash)
  string(APPEND hashes "${name}:${hash}\n")
  string(APPEND listed ", '${name}'")
endforeach()
string(SHA256 version "${hashes}")
string(SUBSTRING "${version}" 0 16 TS_SITE_VERSION)
set(TS_SITE_FILES "${listed}")
configure_file(${SOURCE}/app/web/sw.js.in ${SITE}/sw.js @ONLY)
