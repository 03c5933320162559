# The Khronos glTF validator checks the program's glTF files. The test set-up
# installs it from npm into the build tree, once.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
set(GLTF_VALIDATOR_DIR ${CMAKE_BINARY_DIR}/gltf-validator)
add_test(NAME gltf_validator_install
  COMMAND sh -c "test -d ${GLTF_VALIDATOR_DIR}/node_modules/gltf-validator || npm install --prefix ${GLTF_VALIDATOR_DIR} --no-audit --no-fund --loglevel=error gltf-validator@2.0.0-dev.3.10")
set_tests_properties(gltf_validator_install PROPERTIES FIXTURES_SETUP gltf_validator TIMEOUT 300)
add_test(NAME gltf_validator
  COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tests/formats/validate_gltf.py
          $<TARGET_FILE:vantorel> ${GLTF_VALIDATOR_DIR}/node_modules/gltf-validator)
set_tests_properties(gltf_validator PROPERTIES FIXTURES_REQUIRED gltf_validator
  ENVIRONMENT "ASAN_OPTIONS=detect_leaks=0" TIMEOUT 120)
