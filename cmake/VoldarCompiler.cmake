# Compiler settings shared by every target of the project.
add_compile_options(-Wall -Wextra)
if(VOLDAR_WERROR)
    add_compile_options(-Werror)
endif()

if(VOLDAR_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer
                        -fno-sanitize-recover=undefined)
    add_link_options(-fsanitize=address,undefined)
endif()

# Qt strings are built explicitly; no implicit conversions from char*.
add_compile_definitions(QT_NO_CAST_FROM_ASCII QT_NO_CAST_TO_ASCII QT_NO_NARROWING_CONVERSIONS_IN_CONNECT
                        QT_NO_URL_CAST_FROM_STRING QT_USE_QSTRINGBUILDER)
