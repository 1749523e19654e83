# Copies the tree SOURCE into DESTINATION, creating folders as needed, but never
# replaces a file that already exists there: the user's salary files, saved
# choices and pay slips beside the built program must survive a rebuild.
if(NOT SOURCE OR NOT DESTINATION)
    message(FATAL_ERROR "CopyDataNoOverwrite.cmake needs -DSOURCE= and -DDESTINATION=")
endif()

file(MAKE_DIRECTORY "${DESTINATION}")
file(GLOB_RECURSE entries RELATIVE "${SOURCE}" LIST_DIRECTORIES true "${SOURCE}/*")
foreach(entry IN LISTS entries)
    get_filename_component(name "${entry}" NAME)
    if(name STREQUAL ".keep")
        continue()
    endif()
    if(IS_DIRECTORY "${SOURCE}/${entry}")
        file(MAKE_DIRECTORY "${DESTINATION}/${entry}")
    elseif(NOT EXISTS "${DESTINATION}/${entry}")
        get_filename_component(dir "${DESTINATION}/${entry}" DIRECTORY)
        file(COPY "${SOURCE}/${entry}" DESTINATION "${dir}")
    endif()
endforeach()
