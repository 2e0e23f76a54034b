# SPDX-License-Identifier: MIT
# Run by cpack once it has made the Debian package (CPACK_POST_BUILD_SCRIPTS):
# makes codicefiscale-dbgsym_VERSION_ARCH.deb in cpack's output folder, as
# Debian's own dbgsym packages are made. The debug information of the
# program it packed, unstripped in the build folder, is copied with objcopy,
# compressed, to /usr/lib/debug/.build-id/XX/REST.debug, where gdb looks for
# the build id of the stripped program that the package holds; the
# documentation folder is a link to the program's, with its copyright file
# and changelog. The program is built once: this takes that build's output.

set(deb "")
foreach(file IN LISTS CPACK_PACKAGE_FILES)
  if(file MATCHES "/codicefiscale_[^/]*\\.deb$")
    set(deb ${file})
  endif()
endforeach()
if(NOT deb)
  return()  # the source tarball
endif()

function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "dbgsym: ${ARGN} failed: ${err}")
  endif()
  set(out "${out}" PARENT_SCOPE)
endfunction()

run(readelf -n ${CPACK_CF_PROGRAM})
if(NOT out MATCHES "Build ID: ([0-9a-f][0-9a-f])([0-9a-f]+)")
  message(FATAL_ERROR "dbgsym: ${CPACK_CF_PROGRAM} has no build id")
endif()
set(build_id ${CMAKE_MATCH_1}${CMAKE_MATCH_2})
set(debug_file usr/lib/debug/.build-id/${CMAKE_MATCH_1}/${CMAKE_MATCH_2}.debug)
run(dpkg-deb --field ${deb} Version Architecture)
string(REGEX REPLACE ".*Version: ([^\n]+).*" "\\1" version "${out}")
string(REGEX REPLACE ".*Architecture: ([^\n]+).*" "\\1" architecture "${out}")

set(root ${CPACK_TOPLEVEL_DIRECTORY}/codicefiscale-dbgsym)
file(REMOVE_RECURSE ${root})
file(MAKE_DIRECTORY ${root}/DEBIAN ${root}/usr/share/doc)
get_filename_component(debug_folder ${root}/${debug_file} DIRECTORY)
file(MAKE_DIRECTORY ${debug_folder})
run(objcopy --only-keep-debug --compress-debug-sections ${CPACK_CF_PROGRAM} ${root}/${debug_file})
file(CHMOD ${root}/${debug_file} PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
file(CREATE_LINK codicefiscale ${root}/usr/share/doc/codicefiscale-dbgsym SYMBOLIC)

file(SIZE ${root}/${debug_file} bytes)
math(EXPR kibibytes "(${bytes} + 1023) / 1024")
file(WRITE ${root}/DEBIAN/control
"Package: codicefiscale-dbgsym
Source: codicefiscale
Version: ${version}
Architecture: ${architecture}
Maintainer: ${CPACK_PACKAGE_CONTACT}
Installed-Size: ${kibibytes}
Depends: codicefiscale (= ${version})
Section: debug
Priority: optional
Auto-Built-Package: debug-symbols
Build-Ids: ${build_id}
Description: debug symbols for codicefiscale
")
file(MD5 ${root}/${debug_file} sum)
file(WRITE ${root}/DEBIAN/md5sums "${sum}  ${debug_file}\n")

# gzip: the debug sections are compressed already, xz would only take longer.
run(dpkg-deb --root-owner-group -Zgzip --build ${root}
    ${CPACK_PACKAGE_DIRECTORY}/codicefiscale-dbgsym_${version}_${architecture}.deb)
file(REMOVE_RECURSE ${root})
