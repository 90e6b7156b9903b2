# Warnings are errors everywhere; sanitizers on request (CI turns them on).
add_compile_options(-Wall -Wextra -Werror)

if(QZR_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    add_link_options(-fsanitize=address,undefined)
endif()
