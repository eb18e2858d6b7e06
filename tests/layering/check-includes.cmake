# Refuses an include that names a file beside the including one ("ct_x.h", "../textbox/ct_x.h"):
# the compiler finds such a file without the include path, so it would pass by the layers'
# views. Every include names its file from the top of the tree instead.
# Usage: cmake -DROOT=DIR -DFILES=LIST -P check-includes.cmake, where LIST holds one path from
# ROOT per line.
file(STRINGS ${FILES} paths)
set(found 0)
foreach(path IN LISTS paths)
    get_filename_component(dir ${ROOT}/${path} DIRECTORY)
    file(STRINGS ${ROOT}/${path} includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
    foreach(line IN LISTS includes)
        string(REGEX REPLACE "^[^\"]*\"([^\"]*)\".*" "\\1" included "${line}")
        if(NOT dir STREQUAL ROOT AND EXISTS ${dir}/${included})
            message("${path}: includes \"${included}\" beside itself; name it from the top of the tree")
            math(EXPR found "${found} + 1")
        endif()
    endforeach()
endforeach()
list(LENGTH paths checked)
if(found)
    message(FATAL_ERROR "${found} includes of ${checked} files pass by the layers' views")
endif()
message("${checked} files include through the layers' views only")
