# Compiler warnings and sanitizers, applied through one interface target that every
# target of ours links.
add_library(zemrak_options INTERFACE)

target_compile_options(zemrak_options INTERFACE
    -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wsign-conversion
    -Wold-style-cast -Wnon-virtual-dtor -Woverloaded-virtual
    -Wimplicit-fallthrough -Wformat=2)
if(ZEMRAK_WARNINGS_AS_ERRORS)
    target_compile_options(zemrak_options INTERFACE -Werror)
endif()

# Every object of ours carries the fuzzer's coverage counters; only the fuzz targets link its
# main.
if(ZEMRAK_BUILD_FUZZERS)
    target_compile_options(zemrak_options INTERFACE -fsanitize=fuzzer-no-link)
endif()

if(ZEMRAK_SANITIZERS)
    set(_san -fsanitize=${ZEMRAK_SANITIZERS} -fno-sanitize-recover=all -fno-omit-frame-pointer)
    target_compile_options(zemrak_options INTERFACE ${_san})
    target_link_options(zemrak_options INTERFACE ${_san})
endif()
