kelvarn_add_fuzzer(load_image_file SOURCE ${CMAKE_CURRENT_LIST_DIR}/LoadImageFileFuzzer.cpp LIBS kelvarn_imaging)
# Seeds of the jpeg, tiff, pcx, photo_cd and load_image_file targets come from chain_seeds
# (ChainSeeds.cpp): build it and run `chain_seeds fuzz/corpus`.
# The test pictures come from the test suites' support library, built with the tests.
if(NOT KELVARN_FUZZ)
  add_executable(chain_seeds ${CMAKE_CURRENT_LIST_DIR}/ChainSeeds.cpp)
  target_include_directories(chain_seeds PRIVATE ${PROJECT_SOURCE_DIR})
  target_link_libraries(chain_seeds PRIVATE kelvarn_imaging kelvarn_test_support kelvarn_warnings)
endif()
