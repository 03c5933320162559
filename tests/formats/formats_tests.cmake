# The Khronos glTF validator checks the program's glTF files. The test set-up
# installs it from npm into the build tree, once.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
set(GLTF_VALIDATOR_DIR ${CMAKE_BINARY_DIR}/gltf-validator)
add_test(NAME gltf_validator_install
  COMMAND sh -c "test -d ${GLTF_VALIDATOR_DIR}/node_modules/gltf-validator || npm install --prefix ${GLTF_VALIDATOR_DIR} --no-audit --no-fund --loglevel=error gltf-validator@2.0.0-dev.3.10")
set_tests_properties(gltf_validator_install PROPERTIES FIXTURES_SETUP gltf_validator TIMEOUT 300)
add_test(NAME gltf_validator
  COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tests/formats/validate_gltf.py
          $<TARGET_FILE:vantorel> ${GLTF_VALIDATOR_DIR}/node_modules/gltf-validator
          ${CMAKE_SOURCE_DIR}/tests/data/imports)
set_tests_properties(gltf_validator PROPERTIES FIXTURES_REQUIRED gltf_validator
  ENVIRONMENT "ASAN_OPTIONS=detect_leaks=0" TIMEOUT 120)

# three.js poses the exports on the CPU beside the editor's own posing; it is
# installed from npm into its own folder of the build tree, once, with the
# validator beside it.
set(THREE_DIR ${CMAKE_BINARY_DIR}/three)
add_test(NAME three_install
  COMMAND sh -c "(test -d ${THREE_DIR}/node_modules/three -a -d ${THREE_DIR}/node_modules/gltf-validator || npm install --prefix ${THREE_DIR} --no-audit --no-fund --loglevel=error three@0.160.0 gltf-validator@2.0.0-dev.3.10) && cp ${CMAKE_SOURCE_DIR}/tests/formats/three_pose.mjs ${THREE_DIR}/")
set_tests_properties(three_install PROPERTIES FIXTURES_SETUP three TIMEOUT 300)
add_test(NAME gltf_pose_in_client
  COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tests/formats/pose_in_client.py
          $<TARGET_FILE:vantorel> ${THREE_DIR})
set_tests_properties(gltf_pose_in_client PROPERTIES FIXTURES_REQUIRED three
  ENVIRONMENT "ASAN_OPTIONS=detect_leaks=0" TIMEOUT 180)
