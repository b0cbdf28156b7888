kelvarn_add_fuzzer(photo_cd SOURCE ${CMAKE_CURRENT_LIST_DIR}/PhotoCdDecoderFuzzer.cpp LIBS kelvarn_imaging)
