kelvarn_add_fuzzer(pcx SOURCE ${CMAKE_CURRENT_LIST_DIR}/PcxDecoderFuzzer.cpp LIBS kelvarn_imaging)
