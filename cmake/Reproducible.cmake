# The same commit builds to the same bytes: no build paths and no time stamps in the output.
if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
    add_compile_options(
        "-ffile-prefix-map=${PROJECT_SOURCE_DIR}=."
        "-ffile-prefix-map=${PROJECT_BINARY_DIR}=build")
endif()
if(MINGW)
    # The linker writes the build time into the PE header unless told not to.
    add_link_options(-Wl,--no-insert-timestamp)
endif()
