# Oniguruma: Debian's libonig-dev natively; for the Windows targets the static library
# that scripts/setup.sh builds from Debian's source into .cache/onig-<target>.
add_library(kg_onig INTERFACE)
if(MINGW)
  set(_onig_prefix "${CMAKE_CURRENT_SOURCE_DIR}/.cache/onig-${CMAKE_SYSTEM_PROCESSOR}-w64-mingw32")
  find_package(oniguruma CONFIG REQUIRED PATHS "${_onig_prefix}/lib/cmake/oniguruma" NO_DEFAULT_PATH
               NO_CMAKE_FIND_ROOT_PATH)
  target_link_libraries(kg_onig INTERFACE oniguruma::onig)
elseif(MSVC)
  find_package(oniguruma CONFIG REQUIRED)  # vcpkg
  target_link_libraries(kg_onig INTERFACE oniguruma::onig)
else()
  find_package(PkgConfig REQUIRED)
  pkg_check_modules(ONIG REQUIRED IMPORTED_TARGET oniguruma)
  target_link_libraries(kg_onig INTERFACE PkgConfig::ONIG)
endif()
