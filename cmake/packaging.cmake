# cmake/packaging.cmake — the Windows packages, made by CPack: a zip and an installer
# (NSIS, from packaging/NSIS.template.in) per target. Both hold the executable, a usage
# text in Japanese, the licence and the third-party notices; texts go out in Shift_JIS
# with CRLF. The installer shows the licence on a page of its own.
# The installer has the program's bitness (NSIS's stubs for each are Debian's).
if(CMAKE_SYSTEM_PROCESSOR STREQUAL "i686")
  set(KG_ARCH win32)
  set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES")
  set(CPACK_KG_NSIS_TARGET x86-unicode)
else()
  set(KG_ARCH win64)
  set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
  set(CPACK_KG_NSIS_TARGET amd64-unicode)
endif()
set(KG_VERSION ${PROJECT_VERSION})
set(_texts ${CMAKE_BINARY_DIR}/package-texts)

# Oniguruma's licence comes from the source package the static library was built from.
set(_onig_copying ${CMAKE_SOURCE_DIR}/.cache/onig-src/COPYING)
file(READ ${_onig_copying} ONIGURUMA_LICENSE)
set(ONIGURUMA_VERSION ${oniguruma_VERSION})
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${_onig_copying})

find_program(KG_ICONV iconv REQUIRED)
foreach(source packaging/README.txt packaging/THIRD-PARTY-NOTICES.txt LICENSE)
  get_filename_component(text ${source} NAME_WE)
  set(text ${text}.txt)
  file(READ ${CMAKE_SOURCE_DIR}/${source} content)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${source})
  if(text STREQUAL "README.txt")
    # The guide carries no placeholders, so that it reads well where the repository is
    # shown; the packaged copy's title also names its version and target.
    string(FIND "${content}" "\n" end)
    string(SUBSTRING "${content}" 0 ${end} title)
    string(SUBSTRING "${content}" ${end} -1 rest)
    set(content "${title} ${KG_VERSION} (${KG_ARCH})${rest}")
  endif()
  file(CONFIGURE OUTPUT ${_texts}/utf-8/${text} CONTENT "${content}" @ONLY NEWLINE_STYLE CRLF)
  execute_process(COMMAND ${KG_ICONV} -f UTF-8 -t CP932 ${_texts}/utf-8/${text}
                  OUTPUT_FILE ${_texts}/${text} COMMAND_ERROR_IS_FATAL ANY)
endforeach()

# Packaging needs the program only, not the tests: scripts/package.sh builds just that.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)
install(TARGETS kgmonitor RUNTIME DESTINATION .)
install(FILES ${_texts}/README.txt ${_texts}/LICENSE.txt ${_texts}/THIRD-PARTY-NOTICES.txt DESTINATION .)

set(CPACK_GENERATOR ZIP NSIS)
set(CPACK_PACKAGE_NAME kgmonitor)
set(CPACK_PACKAGE_VENDOR "雲形エディタ開発チーム")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME kgmonitor-${PROJECT_VERSION}-${KG_ARCH})
set(CPACK_PACKAGE_INSTALL_DIRECTORY "Kumogata Debug Monitor")
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY "KumogataDebugMonitor")
set(CPACK_RESOURCE_FILE_LICENSE ${_texts}/LICENSE.txt)  # the installer's licence page
set(CPACK_STRIP_FILES ON)
set(CPACK_MODULE_PATH ${CMAKE_SOURCE_DIR}/packaging)  # our NSIS.template.in
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_SOURCE_DIR}/packaging/per-generator.cmake)
set(CPACK_KG_TITLE "雲形エディタ・デバッグ出力モニター")
if(KG_ARCH STREQUAL "win32")
  set(CPACK_KG_SHORTCUT "${CPACK_KG_TITLE} (32 ビット)")
  set(CPACK_KG_DISPLAY_NAME "${CPACK_KG_TITLE} (32 ビット)")
  set(CPACK_KG_SETUP_DESCRIPTION "セットアップ (32 ビット版)")
else()
  set(CPACK_KG_SHORTCUT "${CPACK_KG_TITLE}")
  set(CPACK_KG_DISPLAY_NAME "${CPACK_KG_TITLE} (64 ビット)")
  # A 64-bit program cannot run on 32-bit Windows at all; the system's refusal names it by this.
  set(CPACK_KG_SETUP_DESCRIPTION "セットアップ (64 ビット版 Windows 専用)")
endif()
set(CPACK_KG_ICON ${CMAKE_BINARY_DIR}/src/ui/generated/monitor.ico)  # rendered by the build (src/ui)
set(CPACK_KG_VERSION_TEXT ${KG_VERSION_TEXT})
include(CPack)
