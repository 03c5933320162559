# What `cmake --install` puts under a prefix, the manual page against the program and the
# README, and the Debian package built from this build.
set(PACKAGING_TESTS ${CMAKE_SOURCE_DIR}/tests/packaging)
add_test(NAME install_tree
  COMMAND ${Python3_EXECUTABLE} ${PACKAGING_TESTS}/test_install.py ${CMAKE_BINARY_DIR} ${PROJECT_VERSION})
add_test(NAME manual_page
  COMMAND ${Python3_EXECUTABLE} ${PACKAGING_TESTS}/test_manual_page.py ${CMAKE_SOURCE_DIR}/src
          ${CMAKE_BINARY_DIR}/vantorel.1 $<TARGET_FILE:vantorel>)
add_test(NAME deb_package
  COMMAND ${Python3_EXECUTABLE} ${PACKAGING_TESTS}/check_deb.py ${CMAKE_SOURCE_DIR} ${PROJECT_VERSION}
          --cpack ${CMAKE_BINARY_DIR})
set_tests_properties(install_tree manual_page deb_package PROPERTIES
  ENVIRONMENT "ASAN_OPTIONS=detect_leaks=0" TIMEOUT 120)
