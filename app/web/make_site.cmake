# Puts the static site together beside the program's .js and .wasm: the
# page, the style sheet, the manifest, the icons and the service worker,
# whose cache is named after a hash of every other file, so that each
# version of the site is cached apart.
#
#   cmake -DSITE=dir -DSOURCE=project-dir -DICON_TOOL=icon_png -P make_site.cmake
cmake_minimum_required(VERSION 3.25)
foreach(variable SITE SOURCE ICON_TOOL)
  if(NOT ${variable})
    message(FATAL_ERROR "make_site.cmake needs -D${variable}=...")
  endif()
endforeach()

file(MAKE_DIRECTORY ${SITE}/icons)
file(COPY_FILE ${SOURCE}/app/web/index.html ${SITE}/index.html ONLY_IF_DIFFERENT)
file(COPY_FILE ${SOURCE}/app/web/manifest.webmanifest ${SITE}/manifest.webmanifest
     ONLY_IF_DIFFERENT)
file(COPY_FILE ${SOURCE}/platform/web/web.css ${SITE}/web.css ONLY_IF_DIFFERENT)
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

set(files index.html tally-share.js tally-share.wasm web.css manifest.webmanifest
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
