# The install test installs the finished build into a temporary folder, so it needs everything built.
if(TARGET tst_install)
    target_compile_definitions(tst_install PRIVATE LEXORA_CMAKE="${CMAKE_COMMAND}"
        LEXORA_BUILD_DIR="${CMAKE_BINARY_DIR}" LEXORA_VERSION="${PROJECT_VERSION}")
    add_dependencies(tst_install lexora-editor lexora-dict sample-dictionaries)
endif()
