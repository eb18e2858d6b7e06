# Install rules, the CMake package and the pkg-config files; debian/ packages what they install.
# Included last, so that it sees every library the tree defines, whoever added it.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

# The libraries a program built against storyport links: the kernel, the two libraries it
# calls, the IDML host (with its story codec), the exchange formats, the computed story orders,
# the map and the operations a user runs (include/storyport/operations.h). The name after the
# colon is the one a consumer uses, storyport::NAME; the tree gets the same aliases.
set(storyport_installed_libraries
    storyport:storyport
    storyport_common:common
    storyport_host:host
    storyport_idml_codec:idml_codec
    storyport_host_idml:host_idml
    storyport_exchange:exchange
    storyport_reading:reading
    storyport_map:map
    storyport_operations:operations)
set(storyport_export_targets)
set(storyport_installed_headers)
foreach(entry IN LISTS storyport_installed_libraries)
    string(REPLACE ":" ";" entry "${entry}")
    list(GET entry 0 target)
    list(GET entry 1 export_name)
    if(NOT TARGET ${target})
        continue()
    endif()
    list(APPEND storyport_export_targets ${target})
    add_library(storyport::${export_name} ALIAS ${target})
    set_target_properties(${target} PROPERTIES EXPORT_NAME ${export_name})
    # Libraries find each other beside themselves once installed.
    get_target_property(type ${target} TYPE)
    if(type STREQUAL "SHARED_LIBRARY")
        set_target_properties(${target} PROPERTIES
            VERSION ${PROJECT_VERSION} SOVERSION ${PROJECT_VERSION_MAJOR} INSTALL_RPATH "$ORIGIN")
    endif()
    # Sources include each other from the top of the tree ("document/ct_document.h"); installed,
    # the same paths start under include/storyport.
    get_target_property(includes ${target} INTERFACE_INCLUDE_DIRECTORIES)
    set(kept)
    foreach(dir IN LISTS includes)
        if(dir MATCHES "^(${PROJECT_SOURCE_DIR}|${PROJECT_BINARY_DIR})")
            list(APPEND kept "$<BUILD_INTERFACE:${dir}>")
        else()
            list(APPEND kept "${dir}")
        endif()
    endforeach()
    list(APPEND kept "$<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}/storyport>")
    set_target_properties(${target} PROPERTIES INTERFACE_INCLUDE_DIRECTORIES "${kept}")
    # The headers each layer lists (the kernel's are those of its folders), internal ones aside.
    get_target_property(headers ${target} STORYPORT_HEADERS)
    if(headers)
        list(APPEND storyport_installed_headers ${headers})
    endif()
endforeach()
# The operations' public header is <storyport/operations.h>; what it includes starts under
# include/storyport like every other header.
if(TARGET storyport_operations)
    set_property(TARGET storyport_operations APPEND PROPERTY INTERFACE_INCLUDE_DIRECTORIES
        "$<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}>")
    install(FILES ${PROJECT_SOURCE_DIR}/include/storyport/operations.h
        DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/storyport)
endif()

install(TARGETS ${storyport_export_targets} EXPORT storyportTargets
    LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
    ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
    RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
foreach(header IN LISTS storyport_installed_headers)
    get_filename_component(folder ${header} DIRECTORY)
    install(FILES ${PROJECT_SOURCE_DIR}/${header}
        DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/storyport/${folder})
endforeach()

# The command runs from PREFIX/bin with its libraries in PREFIX/lib, wherever PREFIX is.
file(RELATIVE_PATH storyport_bin_to_lib ${CMAKE_INSTALL_FULL_BINDIR} ${CMAKE_INSTALL_FULL_LIBDIR})
set_target_properties(storyport_cli PROPERTIES INSTALL_RPATH "$ORIGIN/${storyport_bin_to_lib}")
install(TARGETS storyport_cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_BINARY_DIR}/tools/storyport.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${PROJECT_BINARY_DIR}/tools/storyport.bash
    DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME storyport)

# find_package(storyport): storyport::storyport, storyport::host_idml and the rest.
set(storyport_cmake_dir ${CMAKE_INSTALL_LIBDIR}/cmake/storyport)
install(EXPORT storyportTargets NAMESPACE storyport:: DESTINATION ${storyport_cmake_dir})
configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/storyportConfig.cmake.in
    ${PROJECT_BINARY_DIR}/storyportConfig.cmake INSTALL_DESTINATION ${storyport_cmake_dir})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/storyportConfigVersion.cmake
    COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/storyportConfig.cmake
    ${PROJECT_BINARY_DIR}/storyportConfigVersion.cmake DESTINATION ${storyport_cmake_dir})

# pkg-config: storyport for the kernel, storyport-idml for the IDML host with it,
# storyport-operations for what the command runs.
file(RELATIVE_PATH storyport_pc_to_prefix ${CMAKE_INSTALL_FULL_LIBDIR}/pkgconfig
    ${CMAKE_INSTALL_PREFIX})
string(REGEX REPLACE "/$" "" storyport_pc_to_prefix "${storyport_pc_to_prefix}")
foreach(pc storyport storyport-idml storyport-operations)
    configure_file(${PROJECT_SOURCE_DIR}/cmake/${pc}.pc.in ${PROJECT_BINARY_DIR}/${pc}.pc @ONLY)
    install(FILES ${PROJECT_BINARY_DIR}/${pc}.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
endforeach()

# Everything the install copies, as one target that builds no test: scripts/demo builds it, so
# that `cmake --install` may follow the demo.
add_custom_target(storyport_installable)
add_dependencies(storyport_installable ${storyport_export_targets} storyport_cli storyport_cli_docs)
if(TARGET storyport_python)
    add_dependencies(storyport_installable storyport_python)
endif()
