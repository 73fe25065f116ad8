# The host application's smoke test runs the built program, so it must be built first.
if(TARGET tst_hostapp AND TARGET lexora-editor)
    add_dependencies(tst_hostapp lexora-editor)
endif()

# The host's window handling is tested in-process, built from the application's own sources.
if(TARGET tst_hostwindows)
    file(GLOB HOST_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/app/*.cpp ${PROJECT_SOURCE_DIR}/app/*.h)
    list(FILTER HOST_SOURCES EXCLUDE REGEX "/main\\.cpp$")
    target_sources(tst_hostwindows PRIVATE ${HOST_SOURCES})
    target_include_directories(tst_hostwindows PRIVATE ${PROJECT_SOURCE_DIR}/app)
endif()

# lexora_screenshot opens an editor window offscreen and saves pictures of it for the README
# (scripts/screenshot.sh runs it). It is not a test and is not registered with CTest.
if(TARGET dictionaryeditor)
    add_executable(lexora_screenshot ${CMAKE_CURRENT_SOURCE_DIR}/app/screenshot.cpp)
    target_link_libraries(lexora_screenshot PRIVATE dictionaryeditor)
    target_compile_definitions(lexora_screenshot PRIVATE LEXORA_SAMPLE_BUILD_DIR="${CMAKE_BINARY_DIR}/data")
endif()
