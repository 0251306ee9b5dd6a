# The Windows installer, `--target installer`: an MSI made by wixl (Debian's
# wixl package) from mofu.wxs, next to the build tree's top.
find_program(MOFU_WIXL wixl)

# Windows Installer compares versions as numbers, so 1.01.0028 is 1.1.28 to
# it, while the installed-programs list shows the text as written.
set(MOFU_DISPLAY_VERSION 1.01.0028)
set(mofu_msi ${CMAKE_BINARY_DIR}/mofu-${MOFU_DISPLAY_VERSION}-x64.msi)
# wixl finds sources only by names relative to where it runs.
set(mofu_msi_stage ${CMAKE_BINARY_DIR}/msi-stage)
file(MAKE_DIRECTORY ${mofu_msi_stage})
set(mofu_msi_inputs ${PROJECT_SOURCE_DIR}/assets/neko1.gif ${PROJECT_SOURCE_DIR}/assets/neko2.gif
    ${PROJECT_SOURCE_DIR}/assets/mofu.ico)

if(MOFU_WIXL)
  add_custom_command(
    OUTPUT ${mofu_msi}
    COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:mofu> ${mofu_msi_inputs} ${mofu_msi_stage}
    COMMAND ${MOFU_WIXL} --arch x64 -D Version=${MOFU_DISPLAY_VERSION} -o ${mofu_msi}
            ${CMAKE_CURRENT_LIST_DIR}/mofu.wxs
    WORKING_DIRECTORY ${mofu_msi_stage}
    DEPENDS mofu ${CMAKE_CURRENT_LIST_DIR}/mofu.wxs ${mofu_msi_inputs}
    COMMENT "Building the Windows installer ${mofu_msi}"
    VERBATIM)
  add_custom_target(installer DEPENDS ${mofu_msi})
else()
  add_custom_target(installer
    COMMAND ${CMAKE_COMMAND} -E echo "wixl not found: run scripts/deps.sh windows"
    COMMAND false)
endif()
