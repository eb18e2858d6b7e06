# Every folder of the tree is one layer: a target that lists its sources and headers and names
# the layers it uses. The build holds the layering through the include path: a layer's sources
# see the headers of its own folder and of the layers it links (and of theirs), each through a
# view of links under build/layers/TARGET/, and nothing else, so that an include of a layer above
# or beside it fails to compile. Includes are written from the top of the tree
# ("textbox/ct_text_box.h"), which is also what the views and the installed headers offer; one
# that names a file beside the including one would pass by the views, and tests/layering
# refuses it.
#
# storyport_layer(TARGET OBJECT|SHARED|STATIC|INTERFACE FOLDER DIR
#                 [SOURCES file...] [HEADERS file...] [INTERNAL_HEADERS file...]
#                 [DEPENDS layer...] [LIBS library...])
# SOURCES and HEADERS are named from DIR. INTERNAL_HEADERS are seen by the layers above but not
# installed. DEPENDS are the layers (and outside libraries) this one uses, its headers included,
# linked PUBLIC; LIBS are those only its sources use, linked PRIVATE. Kernel folders are OBJECT layers,
# linked into the one kernel library by storyport_kernel_layers().
function(storyport_layer name type)
    cmake_parse_arguments(ARG "" "FOLDER" "SOURCES;HEADERS;INTERNAL_HEADERS;DEPENDS;LIBS" ${ARGN})
    if(NOT ARG_FOLDER)
        message(FATAL_ERROR "storyport_layer(${name}): FOLDER is missing")
    endif()
    set(scope PUBLIC)
    if(type STREQUAL "INTERFACE")
        set(scope INTERFACE)
        if(ARG_SOURCES OR ARG_LIBS)
            message(FATAL_ERROR "storyport_layer(${name}): a header-only layer has no SOURCES or LIBS")
        endif()
    endif()
    set(sources)
    foreach(file IN LISTS ARG_SOURCES)
        list(APPEND sources ${PROJECT_SOURCE_DIR}/${ARG_FOLDER}/${file})
    endforeach()
    add_library(${name} ${type} ${sources})

    # The view is made again at every configure, so that a header taken off the list is gone.
    set(view ${PROJECT_BINARY_DIR}/layers/${name})
    file(REMOVE_RECURSE ${view})
    set(installed)
    foreach(header IN LISTS ARG_HEADERS ARG_INTERNAL_HEADERS)
        set(path ${ARG_FOLDER}/${header})
        if(NOT EXISTS ${PROJECT_SOURCE_DIR}/${path})
            message(FATAL_ERROR "storyport_layer(${name}): no header ${path}")
        endif()
        get_filename_component(dir ${view}/${path} DIRECTORY)
        file(MAKE_DIRECTORY ${dir})
        file(CREATE_LINK ${PROJECT_SOURCE_DIR}/${path} ${view}/${path} SYMBOLIC)
    endforeach()
    foreach(header IN LISTS ARG_HEADERS)
        list(APPEND installed ${ARG_FOLDER}/${header})
    endforeach()
    target_include_directories(${name} ${scope} ${view})
    target_link_libraries(${name} ${scope} ${ARG_DEPENDS})
    if(ARG_LIBS)
        target_link_libraries(${name} PRIVATE ${ARG_LIBS})
    endif()
    set_target_properties(${name} PROPERTIES STORYPORT_HEADERS "${installed}"
        STORYPORT_VIEW ${view} STORYPORT_FOLDER ${ARG_FOLDER})
    set_property(GLOBAL APPEND PROPERTY STORYPORT_LAYERS ${name})
    foreach(file IN LISTS ARG_SOURCES ARG_HEADERS ARG_INTERNAL_HEADERS)
        set_property(GLOBAL APPEND PROPERTY STORYPORT_LAYER_FILES ${ARG_FOLDER}/${file})
    endforeach()
endfunction()

# Links the OBJECT layers into the kernel library, which then offers their headers (and what
# their headers need) to its users as one library. The layers' own links to each other only
# carry include paths; the objects are linked here, once each.
function(storyport_kernel_layers kernel)
    set(headers)
    foreach(layer IN LISTS ARGN)
        get_target_property(type ${layer} TYPE)
        if(type STREQUAL "OBJECT_LIBRARY")
            target_link_libraries(${kernel} PRIVATE ${layer})
        endif()
        get_target_property(view ${layer} STORYPORT_VIEW)
        get_target_property(layer_headers ${layer} STORYPORT_HEADERS)
        target_include_directories(${kernel} PUBLIC ${view})
        list(APPEND headers ${layer_headers})
    endforeach()
    set_target_properties(${kernel} PROPERTIES STORYPORT_HEADERS "${headers}")
endfunction()
