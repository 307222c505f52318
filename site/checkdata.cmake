# Fails when the committed data script differs from what the tool prints now,
# or the site's icon from the game's.
execute_process(COMMAND ${TOOL} data ${ACTUAL} RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "mindlark-sitedata failed: ${status}")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${EXPECTED} ${ACTUAL}
  RESULT_VARIABLE differs)
if(differs)
  message(FATAL_ERROR "${EXPECTED} is out of date with the game's tables; "
    "regenerate it with: cmake --build BUILD --target site-data")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${ICON} ${SITE_ICON}
  RESULT_VARIABLE differs)
if(differs)
  message(FATAL_ERROR "${SITE_ICON} differs from the game's icon ${ICON}; "
    "copy it again with: cmake --build BUILD --target site-data")
endif()
