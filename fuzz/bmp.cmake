kelvarn_add_fuzzer(bmp SOURCE ${CMAKE_CURRENT_LIST_DIR}/BmpReaderFuzzer.cpp LIBS kelvarn_imaging)
