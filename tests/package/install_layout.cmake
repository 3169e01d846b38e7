# `cmake --install` puts each file where a Linux desktop looks for it.
set(prefix ${BUILD_DIR}/install-layout)
file(REMOVE_RECURSE ${prefix})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix}
                RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "install failed: ${result}")
endif()
foreach(file bin/vexaline share/applications/org.vexaline.Vexaline.desktop
             share/metainfo/org.vexaline.Vexaline.metainfo.xml
             share/icons/hicolor/64x64/apps/vexaline.png
             share/icons/hicolor/scalable/apps/vexaline.svg)
  if(NOT EXISTS ${prefix}/${file})
    message(FATAL_ERROR "not installed: ${file}")
  endif()
endforeach()
file(GLOB_RECURSE installed RELATIVE ${prefix} ${prefix}/*)
list(LENGTH installed count)
if(NOT count EQUAL 5)
  message(FATAL_ERROR "unexpected files installed: ${installed}")
endif()
file(REMOVE_RECURSE ${prefix})
