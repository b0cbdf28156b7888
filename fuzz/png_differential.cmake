find_package(ZLIB REQUIRED)
kelvarn_add_fuzzer(png_differential SOURCE ${CMAKE_CURRENT_LIST_DIR}/PngDifferentialFuzzer.cpp
                   LIBS kelvarn_imaging kelvarn_test_support ZLIB::ZLIB)
