# The test programs of the sanitizer build: window-free tests of tests/, each program run whole.
set(TESTS ${ROOT}/tests)

function(sanitize_test name)
    cmake_parse_arguments(TEST "" "" "SOURCES;LIBS;ENVIRONMENT" ${ARGN})
    list(TRANSFORM TEST_SOURCES PREPEND ${TESTS}/)
    add_executable(${name} ${TEST_SOURCES})
    target_link_libraries(${name} PRIVATE GTest::gtest_main ${TEST_LIBS})
    target_include_directories(${name} PRIVATE ${TESTS})
    qs_warnings(${name})
    add_test(NAME ${name} COMMAND ${name})
    if(TEST_ENVIRONMENT)
        set_tests_properties(${name} PROPERTIES ENVIRONMENT "${TEST_ENVIRONMENT}")
    endif()
endfunction()

sanitize_test(sanitize_qssdk SOURCES test_utf.cpp test_format_string.cpp test_contains_ignore_case.cpp test_math.cpp LIBS qssdk)

# The HTML parser's generated-input test takes many more inputs here than under Wine.
sanitize_test(sanitize_ui SOURCES test_ui_event_manager.cpp test_ui_style.cpp test_ui_widget.cpp
    test_ui_paint_geometry.cpp test_ui_event_router.cpp test_ui_timer_table.cpp test_ui_tooltip_registry.cpp
    test_ui_ime_rules.cpp test_ui_dropped_files.cpp test_ui_menu_structure.cpp test_ui_html_subset.cpp
    test_ui_html_fuzz.cpp test_ui_link_area.cpp test_ui_button_state.cpp test_ui_check_box_logic.cpp
    test_ui_scroll_bar_math.cpp test_ui_flow_layout.cpp test_ui_text_run_positions.cpp
    LIBS qssdk_ui ENVIRONMENT PELLUX_HTML_FUZZ_RUNS=200000)

sanitize_test(sanitize_installer SOURCES test_installer_flow.cpp LIBS installer_flow)

sanitize_test(sanitize_plugin SOURCES test_camera_algebra.cpp test_sample_time.cpp test_uniform_blocks.cpp test_render_limits.cpp
    test_chunk_container.cpp test_layer_placement.cpp test_message_popup_layout.cpp
    LIBS pellux_plugin)

# The PiPL writer with the effect's description: built here with the sanitizers, and once plainly; both
# must write the same bytes.
set(pipl_dir ${ROOT}/plugin/resources/pipl)
foreach(variant sanitized plain)
    add_executable(pipl_writer_${variant} ${pipl_dir}/PiplWriter.cpp ${ROOT}/plugin/resources/EffectPipl.cpp)
    if(variant STREQUAL plain)
        set_target_properties(pipl_writer_plain PROPERTIES COMPILE_OPTIONS "-O2" LINK_OPTIONS "")
    endif()
    target_include_directories(pipl_writer_${variant} PRIVATE ${pipl_dir} ${ROOT}/aesdk ${ROOT}/plugin/host/logic
        ${ROOT}/plugin/common/logic)
    qs_warnings(pipl_writer_${variant})
endforeach()
add_test(NAME pipl_writer COMMAND ${CMAKE_COMMAND} -DSANITIZED=$<TARGET_FILE:pipl_writer_sanitized>
    -DPLAIN=$<TARGET_FILE:pipl_writer_plain> -DOUT=${CMAKE_BINARY_DIR}/pipl -P ${CMAKE_CURRENT_SOURCE_DIR}/ComparePipl.cmake)
