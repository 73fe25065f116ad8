# The host application's smoke test runs the built program, so it must be built first.
if(TARGET tst_hostapp AND TARGET lexora-editor)
    add_dependencies(tst_hostapp lexora-editor)
endif()

# lexora_screenshot opens an editor window offscreen and saves pictures of it for the README
# (scripts/screenshot.sh runs it). It is not a test and is not registered with CTest.
if(TARGET lexorahost)
    add_executable(lexora_screenshot ${CMAKE_CURRENT_SOURCE_DIR}/app/screenshot.cpp)
    target_link_libraries(lexora_screenshot PRIVATE lexorahost)
    target_compile_definitions(lexora_screenshot PRIVATE LEXORA_SAMPLE_BUILD_DIR="${CMAKE_BINARY_DIR}/data")
endif()
