# The Khronos glTF validator checks the program's glTF files, and three.js poses the exports on
# the CPU beside the editor's own posing; the test set-up installs both from npm into a folder of
# the build tree, once. Godot 3, a game engine (Debian's godot3), imports and poses them too.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
set(THREE_DIR ${CMAKE_BINARY_DIR}/three)
add_test(NAME three_install
  COMMAND sh -c "(test -d ${THREE_DIR}/node_modules/three -a -d ${THREE_DIR}/node_modules/gltf-validator || npm install --prefix ${THREE_DIR} --no-audit --no-fund --loglevel=error three@0.160.0 gltf-validator@2.0.0-dev.3.10) && cp ${CMAKE_SOURCE_DIR}/tests/formats/three_pose.mjs ${THREE_DIR}/")
set_tests_properties(three_install PROPERTIES FIXTURES_SETUP three TIMEOUT 300)
add_test(NAME gltf_validator
  COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tests/formats/validate_gltf.py
          $<TARGET_FILE:vantorel> ${THREE_DIR}/node_modules/gltf-validator
          ${CMAKE_SOURCE_DIR}/tests/data/imports)
add_test(NAME gltf_pose_in_client
  COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tests/formats/pose_in_client.py
          $<TARGET_FILE:vantorel> ${THREE_DIR})
set_tests_properties(gltf_validator gltf_pose_in_client PROPERTIES FIXTURES_REQUIRED three
  ENVIRONMENT "ASAN_OPTIONS=detect_leaks=0" TIMEOUT 180)
add_test(NAME gltf_pose_in_godot
  COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tests/support/with_xvfb.py
          ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tests/formats/pose_in_godot.py
          $<TARGET_FILE:vantorel>)
set_tests_properties(gltf_pose_in_godot PROPERTIES ENVIRONMENT "ASAN_OPTIONS=detect_leaks=0"
  TIMEOUT 180)
