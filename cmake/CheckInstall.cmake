# ctest: installs the build into a fresh prefix and checks that exactly the expected files arrive,
# that the icons are PNG pictures of their sizes and that the menu entry is complete.
#   cmake -DBUILD_DIR=... -DPREFIX=... -DGUI=ON|OFF -DSOURCE_DIR=... -P CheckInstall.cmake
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX}
                RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cmake --install failed:\n${output}")
endif()

set(expected bin/kelvara-report share/man/man1/kelvara-report.1.gz share/man/en/man1/kelvara-report.1.gz
             share/doc/kelvara/copyright
             share/doc/kelvara/changelog.gz share/kelvara/sample/zlttimes.log share/kelvara/sample/trinfo.bin)
set(sizes 16 24 32 48 64 128 256)
if(GUI)
  list(APPEND expected bin/Kelvara share/man/man1/Kelvara.1.gz share/man/en/man1/Kelvara.1.gz
                       share/applications/org.example.kelvara.desktop
                       share/metainfo/org.example.kelvara.metainfo.xml)
  foreach(size ${sizes})
    list(APPEND expected share/icons/hicolor/${size}x${size}/apps/kelvara.png)
  endforeach()
endif()
file(GLOB_RECURSE installed LIST_DIRECTORIES false RELATIVE ${PREFIX} ${PREFIX}/*)
list(SORT installed)
list(SORT expected)
if(NOT installed STREQUAL expected)
  string(REPLACE ";" "\n  " installed "${installed}")
  string(REPLACE ";" "\n  " expected "${expected}")
  message(FATAL_ERROR "Installed files:\n  ${installed}\nexpected:\n  ${expected}")
endif()

if(GUI)
  foreach(size ${sizes})
    # PNG: 8-byte signature, then the IHDR chunk with the width and height (big-endian).
    file(READ ${PREFIX}/share/icons/hicolor/${size}x${size}/apps/kelvara.png header LIMIT 24 HEX)
    string(SUBSTRING "${header}" 0 16 signature)
    string(SUBSTRING "${header}" 32 8 width)
    string(SUBSTRING "${header}" 40 8 height)
    math(EXPR width "0x${width}")
    math(EXPR height "0x${height}")
    if(NOT signature STREQUAL "89504e470d0a1a0a" OR NOT width EQUAL size OR NOT height EQUAL size)
      message(FATAL_ERROR "${size}x${size}/apps/kelvara.png is not a ${size}x${size} PNG picture")
    endif()
  endforeach()
  file(READ ${PREFIX}/share/applications/org.example.kelvara.desktop entry)
  function(require_line line)
    string(FIND "\n${entry}" "\n${line}\n" at)
    if(at EQUAL -1)
      message(FATAL_ERROR "org.example.kelvara.desktop lacks the line ${line}")
    endif()
  endfunction()
  require_line("Exec=Kelvara")
  require_line("Icon=kelvara")
  require_line("Categories=Game;Utility;")
  require_line("Name[ru]=Kelvara")
  require_line("Comment[ru]=Статистика ваших проездов в раллийном симуляторе")
  require_line("StartupWMClass=Kelvara")
endif()
file(REMOVE_RECURSE ${PREFIX})
