# Warnings and sanitizers shared by every target of the project.
add_library(zev_compiler_settings INTERFACE)

target_compile_options(zev_compiler_settings INTERFACE -Wall -Wextra -Wpedantic)
if(ZEV_WARNINGS_AS_ERRORS)
    target_compile_options(zev_compiler_settings INTERFACE -Werror)
endif()
if(ZEV_SANITIZE)
    target_compile_options(zev_compiler_settings INTERFACE
        -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
    target_link_options(zev_compiler_settings INTERFACE -fsanitize=address,undefined)
endif()
