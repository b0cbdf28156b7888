# The form template reader over arbitrary bytes. Seeds come from form_template_seeds
# (FormTemplateSeeds.cpp): build it and run `form_template_seeds fuzz/corpus/form_template`.
kelvarn_add_fuzzer(form_template SOURCE ${CMAKE_CURRENT_LIST_DIR}/FormTemplateFuzzer.cpp
                   LIBS kelvarn_ui_template)
if(NOT KELVARN_FUZZ)
  add_executable(form_template_seeds ${CMAKE_CURRENT_LIST_DIR}/FormTemplateSeeds.cpp)
  target_link_libraries(form_template_seeds PRIVATE kelvarn_app_template
                                                    kelvarn_warnings)
endif()
