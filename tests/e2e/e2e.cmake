# End-to-end tests of the real program under Wine, on a virtual display of their own.
# Python's standard library only; Debian's python3.
find_program(KG_PYTHON NAMES python3 PATHS /usr/bin NO_DEFAULT_PATH REQUIRED)
foreach(suite capture gui commands reading)
  add_test(NAME e2e_${suite}
           COMMAND ${KG_NEEDS_32BIT} ${KG_PYTHON} ${CMAKE_SOURCE_DIR}/tests/e2e/test_${suite}.py
                   ${CMAKE_BINARY_DIR} ${KG_WINE_ARCH})
  set_tests_properties(e2e_${suite} PROPERTIES TIMEOUT 1500 RESOURCE_LOCK wineprefix)
endforeach()
set_tests_properties(wine_unit_tests PROPERTIES RESOURCE_LOCK wineprefix)
# The release packages that scripts/package.sh leaves in build/dist, in a fresh prefix.
add_test(NAME e2e_packages
         COMMAND ${KG_NEEDS_32BIT} ${KG_PYTHON} ${CMAKE_SOURCE_DIR}/tests/e2e/test_packages.py
                 ${CMAKE_BINARY_DIR} ${KG_WINE_ARCH} ${CMAKE_SOURCE_DIR}/build/dist ${PROJECT_VERSION})
set_tests_properties(e2e_packages PROPERTIES TIMEOUT 600)
if(KG_WINE_ARCH STREQUAL "win64")
  # The win64 build where 32-bit programs cannot run, shown on any machine: as root it hides
  # the 32-bit loader in a mount namespace of its own (skipped where that cannot be made).
  add_test(NAME e2e_no_32bit COMMAND ${KG_PYTHON} ${CMAKE_SOURCE_DIR}/tests/e2e/test_no_32bit.py ${CMAKE_BINARY_DIR}
                                     ${KG_WINE_ARCH})
  set_tests_properties(e2e_no_32bit PROPERTIES TIMEOUT 600 RESOURCE_LOCK wineprefix SKIP_RETURN_CODE 77)
  # A suite whose set-up fails leaves no display and no Wine process running.
  add_test(NAME e2e_teardown COMMAND ${KG_PYTHON} ${CMAKE_SOURCE_DIR}/tests/e2e/test_teardown.py ${CMAKE_BINARY_DIR}
                                     ${KG_WINE_ARCH})
  set_tests_properties(e2e_teardown PROPERTIES TIMEOUT 300 RESOURCE_LOCK wineprefix)
endif()
