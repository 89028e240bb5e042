# vq_wayland_protocol(TARGET XML): generates the client code of the protocol description XML
# with wayland-scanner, as NAME_protocol.h and NAME_protocol.c (NAME the description's file
# name without .xml), builds it into TARGET and links TARGET against libwayland-client.
find_package(PkgConfig REQUIRED)
pkg_check_modules(WAYLAND_CLIENT REQUIRED IMPORTED_TARGET wayland-client)
find_program(WAYLAND_SCANNER wayland-scanner REQUIRED)

function(vq_wayland_protocol target xml)
    get_filename_component(name ${xml} NAME_WE)
    set(generated ${CMAKE_CURRENT_BINARY_DIR}/generated/${target})
    add_custom_command(
        OUTPUT ${generated}/${name}_protocol.h ${generated}/${name}_protocol.c
        COMMAND ${CMAKE_COMMAND} -E make_directory ${generated}
        COMMAND ${WAYLAND_SCANNER} client-header ${xml} ${generated}/${name}_protocol.h
        COMMAND ${WAYLAND_SCANNER} private-code ${xml} ${generated}/${name}_protocol.c
        DEPENDS ${xml}
        VERBATIM)
    target_sources(${target} PRIVATE ${generated}/${name}_protocol.c ${generated}/${name}_protocol.h)
    target_include_directories(${target} PRIVATE ${generated})
    target_link_libraries(${target} PRIVATE PkgConfig::WAYLAND_CLIENT)
endfunction()
