# Joins the page's JavaScript into the one script given to the program as
# --pre-js: first the constants that the program prints from its headers,
# then the page's parts in order.
#
#   cmake -DNODE=node -DCONSTANTS=ts_web_constants.js -DPARTS="a.js|b.js" -DOUT=page.js
#         -P join_page_script.cmake
cmake_minimum_required(VERSION 3.25)
foreach(variable NODE CONSTANTS PARTS OUT)
  if(NOT ${variable})
    message(FATAL_ERROR "join_page_script.cmake needs -D${variable}=...")
  endif()
endforeach()

execute_process(COMMAND ${NODE} ${CONSTANTS} OUTPUT_VARIABLE text RESULT_VARIABLE status)
if(NOT status EQUAL 0 OR NOT text MATCHES "var TSConst")
  message(FATAL_ERROR "${CONSTANTS} printed no constants (${status})")
endif()
string(REPLACE "|" ";" parts "${PARTS}")
foreach(part IN LISTS parts)
  file(READ ${part} content)
  string(APPEND text "\n" "${content}")
endforeach()
file(WRITE ${OUT}.new "${text}")
file(COPY_FILE ${OUT}.new ${OUT} ONLY_IF_DIFFERENT)
file(REMOVE ${OUT}.new)
