# Fails when the committed data script differs from what the tool prints now,
# or the site's icon from the game's.
execute_process(COMMAND ${TOOL} data ${ACTUAL} RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "mindlark-sitedata failed: ${status}")
endif()
foreach(pair "${EXPECTED}|${ACTUAL}|is out of date with the game's tables"
             "${SITE_ICON}|${ICON}|differs from the game's icon")
  string(REPLACE "|" ";" pair "${pair}")
  list(GET pair 0 committed)
  list(GET pair 1 current)
  list(GET pair 2 why)
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${committed} ${current}
    RESULT_VARIABLE differs)
  if(differs)
    message(FATAL_ERROR "${committed} ${why}; "
      "bring it up to date with: cmake --build BUILD --target site-data")
  endif()
endforeach()
