# Warnings, hardening and sanitizers shared by every target of the project.
add_library(zev_compiler_settings INTERFACE)

target_compile_options(zev_compiler_settings INTERFACE -Wall -Wextra -Wpedantic)
if(ZEV_WARNINGS_AS_ERRORS)
    target_compile_options(zev_compiler_settings INTERFACE -Werror)
endif()
if(ZEV_SANITIZE)
    target_compile_options(zev_compiler_settings INTERFACE
        -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
    target_link_options(zev_compiler_settings INTERFACE -fsanitize=address,undefined)
else()
    # Every other build carries the protections that Debian's own packages get from
    # `dpkg-buildflags` with hardening=+all, set here once, so that run.sh's program and the
    # tested one are hardened like the package: position-independent code, stack protector
    # and clash protection, control-flow protection, fortified libc calls (which need an
    # optimised build), read-only relocations and immediate binding. The package build also
    # passes dpkg-buildflags' own; only fortification would clash, so it is added here only
    # where the caller's flags do not already set its level.
    set(CMAKE_POSITION_INDEPENDENT_CODE ON)
    include(CheckPIESupported)
    check_pie_supported()
    target_compile_options(zev_compiler_settings INTERFACE
        -fstack-protector-strong -fstack-clash-protection
        $<$<STREQUAL:${CMAKE_SYSTEM_PROCESSOR},x86_64>:-fcf-protection>)
    if(NOT CMAKE_CXX_FLAGS MATCHES "_FORTIFY_SOURCE")
        target_compile_definitions(zev_compiler_settings INTERFACE
            $<$<CONFIG:Release,RelWithDebInfo,MinSizeRel>:_FORTIFY_SOURCE=2>)
    endif()
    target_link_options(zev_compiler_settings INTERFACE LINKER:-z,relro LINKER:-z,now)
endif()
