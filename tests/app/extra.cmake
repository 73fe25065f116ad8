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

# The install test installs the finished build into a temporary folder, so it needs everything built.
if(TARGET tst_install)
    target_compile_definitions(tst_install PRIVATE LEXORA_CMAKE="${CMAKE_COMMAND}"
        LEXORA_BUILD_DIR="${CMAKE_BINARY_DIR}" LEXORA_VERSION="${PROJECT_VERSION}")
    add_dependencies(tst_install lexora-editor lexora-dict sample-dictionaries)
    set_tests_properties(tst_install PROPERTIES LABELS install)
endif()
