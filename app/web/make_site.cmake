# Puts the static site together beside the program's .js and .wasm: the
# page (with the style sheet inside), the manifest, the icons and the service worker,
# whose cache is named after a hash of every other file, so that each
# version of the site is cached apart.
#
# The page carries its style and the main window's first picture inline, so
# that the first paint needs index.html alone; the program's JavaScript is
# minified.
#
# The QR encoder of the link dialog is Debian's node-qrcode-generator,
# copied as it is (its licence notice at its head) from QRCODE_DIR, and only
# of the version QRCODE_VERSION that the dialog was written and tested
# against: another version stops the build.
#
#   cmake -DSITE=dir -DSOURCE=project-dir -DICON_TOOL=icon_png -DNODE=node
#         -DTERSER=terser -DSKELETON=web_skeleton.js -DSTYLE="base.css|list.css"
#         -DCONSTANTS=ts_web_constants.js
#         -DQRCODE_DIR=/usr/share/nodejs/qrcode-generator -DQRCODE_VERSION=1.4.4
#         -P make_site.cmake
cmake_minimum_required(VERSION 3.25)
foreach(variable SITE SOURCE ICON_TOOL NODE TERSER SKELETON STYLE CONSTANTS QRCODE_DIR
                 QRCODE_VERSION)
  if(NOT ${variable})
    message(FATAL_ERROR "make_site.cmake needs -D${variable}=...")
  endif()
endforeach()

file(MAKE_DIRECTORY ${SITE}/icons)
execute_process(COMMAND ${NODE} ${SKELETON} OUTPUT_VARIABLE TS_SKELETON RESULT_VARIABLE printed)
if(NOT printed EQUAL 0 OR TS_SKELETON STREQUAL "")
  message(FATAL_ERROR "${SKELETON} printed no main window (${printed})")
endif()
# The style sheet's parts, in their order, without their comments (which
# are for whoever reads the sources, not for the page's bytes).
string(REPLACE "|" ";" style_parts "${STYLE}")
set(TS_STYLE "")
foreach(part IN LISTS style_parts)
  file(READ ${part} content)
  string(REGEX REPLACE "/\\*([^*]|\\*+[^*/])*\\*+/[ \n]*" "" content "${content}")
  string(APPEND TS_STYLE "${content}")
endforeach()
# The names the page shares with the program (its storage's, the lock's),
# as the program prints them: into index.html, and as names.json for the
# browser tests.
execute_process(COMMAND ${NODE} ${CONSTANTS} json OUTPUT_VARIABLE names RESULT_VARIABLE printed)
if(NOT printed EQUAL 0)
  message(FATAL_ERROR "${CONSTANTS} printed no names (${printed})")
endif()
file(WRITE ${SITE}/names.json.new "${names}")
file(COPY_FILE ${SITE}/names.json.new ${SITE}/names.json ONLY_IF_DIFFERENT)
file(REMOVE ${SITE}/names.json.new)
file(READ ${SOURCE}/app/web/index.html page)
foreach(key database files settings lock)
  string(JSON value GET "${names}" ${key})
  string(TOUPPER "${key}" upper)
  string(REPLACE "@TS_NAME_${upper}@" "${value}" page "${page}")
endforeach()
if(page MATCHES "@TS_NAME_[A-Z_]+@")
  message(FATAL_ERROR "index.html names ${CMAKE_MATCH_0}, which the program does not print")
endif()
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

# The QR encoder, loaded by the page only when the link dialog opens.
if(NOT EXISTS ${QRCODE_DIR}/package.json OR NOT EXISTS ${QRCODE_DIR}/qrcode.js)
  message(FATAL_ERROR "no QR encoder in ${QRCODE_DIR}: install node-qrcode-generator")
endif()
file(READ ${QRCODE_DIR}/package.json manifest)
string(JSON qrcode_version ERROR_VARIABLE unreadable GET "${manifest}" version)
if(NOT qrcode_version STREQUAL QRCODE_VERSION)
  message(FATAL_ERROR "${QRCODE_DIR} holds qrcode-generator ${qrcode_version}${unreadable}, "
                      "not ${QRCODE_VERSION}: try the link dialog with it (the browser tests) "
                      "before changing TS_QRCODE_VERSION in app/CMakeLists.txt")
endif()
file(COPY_FILE ${QRCODE_DIR}/qrcode.js ${SITE}/qrcode-generator.js ONLY_IF_DIFFERENT)

# The icons for the home screen, drawn by the program's own drawing.
function(draw_icon size name)
  execute_process(COMMAND ${ICON_TOOL} ${size} ${SITE}/icons/${name} ${ARGN}
                  RESULT_VARIABLE drawn)
  if(NOT drawn EQUAL 0)
    message(FATAL_ERROR "${ICON_TOOL} could not draw ${name}")
  endif()
endfunction()
draw_icon(96 icon-96.png)
draw_icon(192 icon-192.png)
draw_icon(512 icon-512.png)
draw_icon(512 icon-maskable-512.png maskable)

set(files index.html tally-share.js tally-share.wasm manifest.webmanifest qrcode-generator.js
    icons/tally-share.svg icons/icon-96.png icons/icon-192.png icons/icon-512.png icons/icon-maskable-512.png)
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
