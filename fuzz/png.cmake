kelvarn_add_fuzzer(png SOURCE ${CMAKE_CURRENT_LIST_DIR}/PngReaderFuzzer.cpp LIBS kelvarn_imaging)
