# vig_add_translation(<target> <ts file>...): compiles .ts files kept in the tree and carries each in the
# target as ":/ts/<name of the ts>.qm".
function(vig_add_translation target)
    # Fresh names: a function sees its caller's variables, which may hold the caller's own sources.
    set(_vig_qm)
    set(_vig_rcc_sources)
    set(_vig_files)
    qt5_add_translation(_vig_qm ${ARGN})
    foreach(_ts ${ARGN})
        get_filename_component(_name ${_ts} NAME_WE)
        string(APPEND _vig_files "    <file>${_name}.qm</file>\n")
    endforeach()
    set(_qrc ${CMAKE_CURRENT_BINARY_DIR}/${target}_ts.qrc)
    file(WRITE ${_qrc}.in
        "<!DOCTYPE RCC><RCC version=\"1.0\">\n<qresource prefix=\"/ts\">\n"
        "${_vig_files}</qresource>\n</RCC>\n")
    configure_file(${_qrc}.in ${_qrc} COPYONLY)
    qt5_add_resources(_vig_rcc_sources ${_qrc})
    set_source_files_properties(${_vig_rcc_sources} PROPERTIES SKIP_AUTOGEN ON)
    target_sources(${target} PRIVATE ${_vig_qm} ${_vig_rcc_sources})
endfunction()

# vig_add_lupdate(<name> <source folders> <ts file>...): a target that brings the texts lupdate finds in the
# folders into the .ts files, keeping their translations and dropping texts no source holds any more.
function(vig_add_lupdate name folders)
    add_custom_target(${name}
        COMMAND Qt5::lupdate -silent -locations none -no-obsolete ${folders} -ts ${ARGN}
        VERBATIM)
endfunction()
