# The release zip for Windows (cmake --build ... --target package): the two executables, the
# README and one batch file per common job, all at the top of the zip, so that it unzips
# straight into the folder from which the host starts its external commands; the README's
# pictures beside them in docs/.
# cmd takes a bare name that begins with one of its own commands (erase, del, copy, ...) for
# that command: no name here may begin so.
set(CE_BATCH_FILES
  wipe_circle.bat
  wipe_circle_curves.bat
  wipe_sector.bat
  wipe_segment.bat
  crop_circle.bat
  restyle_circle_curves.bat
  wipe_all_circles.bat)
set(CE_README_PICTURES docs/sample.svg docs/sample-c.svg docs/sample-c-k42.svg docs/sample-a.svg)

# Texts as Windows opens them: CR LF line ends; the README marked as UTF-8 for Notepad.
set(CE_PACKAGE_TEXTS)
function(ce_package_text from to bom)
  add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/package/${to}
    COMMAND ${CMAKE_COMMAND} -DIN=${from} -DOUT=${CMAKE_BINARY_DIR}/package/${to} -DBOM=${bom}
            -P ${PROJECT_SOURCE_DIR}/cmake/crlf.cmake
    DEPENDS ${from} ${PROJECT_SOURCE_DIR}/cmake/crlf.cmake VERBATIM)
  list(APPEND CE_PACKAGE_TEXTS ${CMAKE_BINARY_DIR}/package/${to})
  set(CE_PACKAGE_TEXTS ${CE_PACKAGE_TEXTS} PARENT_SCOPE)
endfunction()

set(CE_README_TXT ${CMAKE_BINARY_DIR}/package/README.txt)
add_custom_command(OUTPUT ${CE_README_TXT}
  COMMAND ${CMAKE_COMMAND} -DJA=${PROJECT_SOURCE_DIR}/docs/README.ja.md
          -DEN=${PROJECT_SOURCE_DIR}/README.md -DOUT=${CE_README_TXT}
          -P ${PROJECT_SOURCE_DIR}/cmake/readme.cmake
  DEPENDS ${PROJECT_SOURCE_DIR}/docs/README.ja.md ${PROJECT_SOURCE_DIR}/README.md
          ${PROJECT_SOURCE_DIR}/cmake/readme.cmake VERBATIM)
list(APPEND CE_PACKAGE_TEXTS ${CE_README_TXT})
foreach(bat IN LISTS CE_BATCH_FILES)
  ce_package_text(${PROJECT_SOURCE_DIR}/package/${bat} ${bat} OFF)
endforeach()
add_custom_target(package_texts ALL DEPENDS ${CE_PACKAGE_TEXTS})

install(TARGETS circle_erase zod_preview RUNTIME DESTINATION .)
install(FILES ${CE_PACKAGE_TEXTS} DESTINATION .)
list(TRANSFORM CE_README_PICTURES PREPEND ${PROJECT_SOURCE_DIR}/)
install(FILES ${CE_README_PICTURES} DESTINATION docs)

if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(CE_PACKAGE_ARCH win64)
else()
  set(CE_PACKAGE_ARCH win32)
endif()
set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_FILE_NAME ${PROJECT_NAME}-${PROJECT_VERSION}-${CE_PACKAGE_ARCH})
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
include(CPack)
