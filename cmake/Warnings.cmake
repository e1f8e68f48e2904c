# Warnings for every target of the project.
add_library(lunavista_warnings INTERFACE)
if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
    target_compile_options(lunavista_warnings INTERFACE
        -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Wold-style-cast
        -Wcast-align -Woverloaded-virtual -Wdouble-promotion
        -Wformat=2 -Wimplicit-fallthrough)
endif()
