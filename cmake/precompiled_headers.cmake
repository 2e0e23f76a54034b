# SPDX-License-Identifier: MIT
# Precompiled headers: Qt's and GoogleTest's headers make up most of the
# compile time of a small source file of the windows or of their tests.
# Two header sets are compiled once each, and every target that links Qt
# reuses one of them: the windows' set, or the tests' set (the same plus
# GoogleTest) for targets that also link GoogleTest. Targets without Qt
# Widgets (the engine, the command line for scripts, their tests, the sheet
# files over Qt Core) are left alone, so nothing makes Qt visible where it
# must not be used, and no target gets headers built with other definitions.

# Whether `target` takes the usage requirements (include folders,
# definitions) of a library matching `pattern`: linked directly, or passed on
# by the project's own libraries it links.
function(_cf_uses target pattern result)
  get_target_property(libraries ${target} LINK_LIBRARIES)
  _cf_uses_any("${libraries}" "${pattern}" found)
  set(${result} ${found} PARENT_SCOPE)
endfunction()

function(_cf_uses_any libraries pattern result)
  set(found FALSE)
  foreach(library IN LISTS libraries)
    if(library MATCHES "${pattern}")
      set(found TRUE)
    elseif(TARGET ${library} AND NOT library MATCHES "::")
      # What a library passes on: its interface, without what it links
      # only for itself ($<LINK_ONLY:...>).
      get_target_property(interface ${library} INTERFACE_LINK_LIBRARIES)
      list(FILTER interface EXCLUDE REGEX "^\\$<")
      _cf_uses_any("${interface}" "${pattern}" found)
    endif()
    if(found)
      break()
    endif()
  endforeach()
  set(${result} ${found} PARENT_SCOPE)
endfunction()

function(_cf_targets_below directory result)
  get_property(targets DIRECTORY ${directory} PROPERTY BUILDSYSTEM_TARGETS)
  get_property(subdirectories DIRECTORY ${directory} PROPERTY SUBDIRECTORIES)
  foreach(subdirectory IN LISTS subdirectories)
    _cf_targets_below(${subdirectory} nested)
    list(APPEND targets ${nested})
  endforeach()
  set(${result} ${targets} PARENT_SCOPE)
endfunction()

# Call once, after every target is defined.
function(cf_precompile_headers)
  if(NOT CF_WITH_QT OR CF_FUZZ)
    return()
  endif()
  set(qt_headers <QtWidgets/QtWidgets> <string> <vector> <optional> <functional>)
  add_library(cf_pch_windows OBJECT ${PROJECT_SOURCE_DIR}/cmake/precompiled_headers.cpp)
  target_link_libraries(cf_pch_windows PRIVATE Qt6::Widgets)
  target_precompile_headers(cf_pch_windows PRIVATE ${qt_headers})
  if(BUILD_TESTING)
    find_package(GTest REQUIRED)
    add_library(cf_pch_tests OBJECT ${PROJECT_SOURCE_DIR}/cmake/precompiled_headers.cpp)
    target_link_libraries(cf_pch_tests PRIVATE Qt6::Widgets GTest::gtest)
    target_precompile_headers(cf_pch_tests PRIVATE ${qt_headers} <gtest/gtest.h>)
  endif()

  _cf_targets_below(${PROJECT_SOURCE_DIR} targets)
  foreach(target IN LISTS targets)
    get_target_property(type ${target} TYPE)
    if(NOT type MATCHES "^(EXECUTABLE|STATIC_LIBRARY|OBJECT_LIBRARY)$" OR target MATCHES "^cf_pch_")
      continue()
    endif()
    _cf_uses(${target} "^Qt6::Widgets$" uses_widgets)
    if(NOT uses_widgets)
      continue()
    endif()
    _cf_uses(${target} "^GTest::" uses_gtest)
    if(uses_gtest AND BUILD_TESTING)
      target_precompile_headers(${target} REUSE_FROM cf_pch_tests)
    else()
      target_precompile_headers(${target} REUSE_FROM cf_pch_windows)
    endif()
  endforeach()
endfunction()
