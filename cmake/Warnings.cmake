# Warnings for every target of the project.
option(LUNAVISTA_WARNINGS_AS_ERRORS "Fail the build on any warning of the project's own code" OFF)

add_library(lunavista_warnings INTERFACE)
if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
    target_compile_options(lunavista_warnings INTERFACE
        -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Wold-style-cast
        -Wcast-align -Woverloaded-virtual -Wdouble-promotion
        -Wformat=2 -Wimplicit-fallthrough)
    if(LUNAVISTA_WARNINGS_AS_ERRORS)
        target_compile_options(lunavista_warnings INTERFACE -Werror)
    endif()
endif()
