# Warnings are errors in the project's own targets. They travel as the usage
# requirements of qzr_warnings, which every target of this project links (set
# here for every directory below the top one), and never leave it: vexalib's
# installed package and a project that embeds vexalib's directory do not see
# them.
add_library(qzr_warnings INTERFACE)
target_compile_options(qzr_warnings INTERFACE -Wall -Wextra -Werror)

# Sanitizers on request (CI turns them on), for the same targets.
add_library(qzr_sanitizers INTERFACE)
if(QZR_SANITIZE)
    target_compile_options(qzr_sanitizers INTERFACE
        -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    target_link_options(qzr_sanitizers INTERFACE -fsanitize=address,undefined)
elseif(QZR_SANITIZE_THREAD)
    target_compile_options(qzr_sanitizers INTERFACE -fsanitize=thread -fno-omit-frame-pointer)
    target_link_options(qzr_sanitizers INTERFACE -fsanitize=thread)
endif()

link_libraries($<BUILD_INTERFACE:qzr_warnings> $<BUILD_INTERFACE:qzr_sanitizers>)
