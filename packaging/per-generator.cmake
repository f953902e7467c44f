# packaging/per-generator.cmake — read by CPack for each generator: the installer's name
# says what it is, next to the zip of the same version and target.
if(CPACK_GENERATOR STREQUAL "NSIS")
  set(CPACK_PACKAGE_FILE_NAME "${CPACK_PACKAGE_FILE_NAME}-setup")
endif()
