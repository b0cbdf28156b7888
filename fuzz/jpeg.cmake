kelvarn_add_fuzzer(jpeg SOURCE ${CMAKE_CURRENT_LIST_DIR}/JpegDecoderFuzzer.cpp LIBS kelvarn_imaging)
