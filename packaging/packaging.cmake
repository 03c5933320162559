# Installing like a desktop program (`cmake --install BUILD --prefix PREFIX`) and the
# Debian package (`cpack -G DEB`, run by `make deb`).
include(GNUInstallDirs)
find_package(Python3 REQUIRED COMPONENTS Interpreter)

set(VANTOREL_MAINTAINER "Vantorel developers <maintainers@vantorel.invalid>"
    CACHE STRING "The Debian package's maintainer")
# Folders as Debian has them whatever the builder's umask.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

# cpack installs what is built (`make deb` builds the program first), not the tests too.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

set(PACKAGING_DIR ${CMAKE_SOURCE_DIR}/packaging)
set(MANPAGE ${CMAKE_BINARY_DIR}/vantorel.1)
add_custom_command(OUTPUT ${MANPAGE} ${MANPAGE}.gz
  COMMAND ${Python3_EXECUTABLE} ${PACKAGING_DIR}/make_manpage.py ${CMAKE_SOURCE_DIR}/README.md
          ${PACKAGING_DIR}/vantorel.1.in ${PROJECT_VERSION} ${MANPAGE}
  COMMAND gzip -9nkf ${MANPAGE}
  DEPENDS ${PACKAGING_DIR}/make_manpage.py ${PACKAGING_DIR}/vantorel.1.in ${CMAKE_SOURCE_DIR}/README.md
  COMMENT "Writing the manual page from the README" VERBATIM)
set(CHANGELOG ${CMAKE_BINARY_DIR}/changelog)
add_custom_command(OUTPUT ${CHANGELOG}.gz
  COMMAND ${CMAKE_COMMAND} -E copy ${PACKAGING_DIR}/changelog ${CHANGELOG}
  COMMAND gzip -9nf ${CHANGELOG}
  DEPENDS ${PACKAGING_DIR}/changelog VERBATIM)
add_custom_target(packaging_files ALL DEPENDS ${MANPAGE}.gz ${CHANGELOG}.gz)

install(TARGETS vantorel RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PACKAGING_DIR}/vantorel.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PACKAGING_DIR}/vantorel-mime.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages
        RENAME vantorel.xml)
install(DIRECTORY ${PACKAGING_DIR}/icons/hicolor DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)
install(FILES ${MANPAGE}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${PACKAGING_DIR}/copyright ${CHANGELOG}.gz DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/vantorel)
# Installed outside a package (whose triggers refresh the system's), the prefix's caches of
# file types and of the types each menu entry opens are brought up to date, so that
# desktops reading the prefix's share/ folder know the model file.
install(CODE "set(VANTOREL_DATADIR \"${CMAKE_INSTALL_DATADIR}\")")
install(CODE [[
  if("$ENV{DESTDIR}" STREQUAL "")
    foreach(refresh "update-mime-database;mime" "update-desktop-database;applications")
      list(GET refresh 0 tool)
      list(GET refresh 1 folder)
      find_program(VANTOREL_${tool} ${tool})
      if(VANTOREL_${tool})
        message(STATUS "Refreshing: ${tool} ${CMAKE_INSTALL_PREFIX}/${VANTOREL_DATADIR}/${folder}")
        execute_process(COMMAND ${VANTOREL_${tool}} "${CMAKE_INSTALL_PREFIX}/${VANTOREL_DATADIR}/${folder}")
      endif()
    endforeach()
  endif()
]])

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vantorel)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "editor for low-poly 3D models with bones")
set(CPACK_PACKAGE_DESCRIPTION
  "Vantorel edits small 3D models made of triangles, with bones and texture
coordinates, for people who build low-poly models with skeletons for games.
It shows the model in four views, texture space in a UV panel, and takes
slash commands in a console. Models are kept in a plain-text file, go out to
glTF 2.0 and OBJ, and come in from OBJ, glTF, FBX, Collada, PLY, STL and the
other formats Assimp reads.")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${VANTOREL_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The runtime dependencies, from the shared libraries the program links (dpkg-shlibdeps).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
include(CPack)
