kelvarn_add_fuzzer(tiff SOURCE ${CMAKE_CURRENT_LIST_DIR}/TiffDecoderFuzzer.cpp LIBS kelvarn_imaging)
