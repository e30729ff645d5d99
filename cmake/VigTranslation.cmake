# vig_add_translation(<target> <ts file>): compiles a .ts kept in the tree and carries it in the target as
# ":/ts/<name of the ts>.qm".
function(vig_add_translation target ts)
    # Fresh names: a function sees its caller's variables, which may hold the caller's own sources.
    set(_vig_qm)
    set(_vig_rcc_sources)
    qt5_add_translation(_vig_qm ${ts})
    get_filename_component(_name ${ts} NAME_WE)
    set(_qrc ${CMAKE_CURRENT_BINARY_DIR}/${target}_ts.qrc)
    file(WRITE ${_qrc}.in
        "<!DOCTYPE RCC><RCC version=\"1.0\">\n<qresource prefix=\"/ts\">\n"
        "    <file>${_name}.qm</file>\n</qresource>\n</RCC>\n")
    configure_file(${_qrc}.in ${_qrc} COPYONLY)
    qt5_add_resources(_vig_rcc_sources ${_qrc})
    set_source_files_properties(${_vig_rcc_sources} PROPERTIES SKIP_AUTOGEN ON)
    target_sources(${target} PRIVATE ${_vig_qm} ${_vig_rcc_sources})
endfunction()
