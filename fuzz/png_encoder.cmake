find_package(PNG REQUIRED)
kelvarn_add_fuzzer(png_encoder SOURCE ${CMAKE_CURRENT_LIST_DIR}/PngEncoderFuzzer.cpp
                   LIBS kelvarn_imaging PNG::PNG)
