# Windows builds: the programs' version resources, icon and manifest, and (MinGW cross builds on
# Linux) the portable zip and the installer:
#   cmake --build build-windows --target windows-package
#     -> Kelvara-<version>-windows-x64.zip and Kelvara-<version>-setup.exe
# Everything takes its version from PROJECT_VERSION.
string(REPLACE "." "," KELVARA_RC_VERSION "${PROJECT_VERSION}")
set(KELVARA_WINDOWS_DIR ${CMAKE_BINARY_DIR}/windows)

# The folders a MinGW program's DLLs come from: Qt's bin folder, the compiler's runtime and the
# MinGW libraries. Under Wine they go into WINEPATH; the packaging copies from them.
set(KELVARA_WINDOWS_DLL_DIRS)
if(TARGET Kelvara)
  find_package(Qt6 REQUIRED COMPONENTS Core) # its imported targets are local to app/
  get_target_property(qtcore Qt6::Core IMPORTED_LOCATION_RELEASE)
  if(NOT qtcore)
    get_target_property(qtcore Qt6::Core IMPORTED_LOCATION)
  endif()
  get_filename_component(qtbin ${qtcore} DIRECTORY)
  list(APPEND KELVARA_WINDOWS_DLL_DIRS ${qtbin})
  get_filename_component(KELVARA_QT_PREFIX ${qtbin} DIRECTORY)
endif()
if(MINGW)
  execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-libgcc-file-name
                  OUTPUT_VARIABLE libgcc OUTPUT_STRIP_TRAILING_WHITESPACE)
  get_filename_component(gccdir ${libgcc} DIRECTORY)
  list(APPEND KELVARA_WINDOWS_DLL_DIRS ${gccdir})
  foreach(root ${CMAKE_FIND_ROOT_PATH})
    if(EXISTS ${root}/lib/libwinpthread-1.dll)
      list(APPEND KELVARA_WINDOWS_DLL_DIRS ${root}/lib)
    endif()
  endforeach()
endif()
string(REPLACE ";" "$<SEMICOLON>" KELVARA_WINEPATH "${KELVARA_WINDOWS_DLL_DIRS}")
string(REPLACE ";" "|" dll_dirs "${KELVARA_WINDOWS_DLL_DIRS}")

# The icon, 16 to 256 px, drawn by the window's own icon code (run under the emulator when cross
# building) and joined into one .ico by icotool.
set(KELVARA_ICO)
if(TARGET Kelvara)
  find_program(KELVARA_ICOTOOL icotool)
  if(KELVARA_ICOTOOL AND (NOT CMAKE_CROSSCOMPILING OR CMAKE_CROSSCOMPILING_EMULATOR))
    add_executable(kelvara-render-icon app/icon/RenderIcon.cpp)
    target_link_libraries(kelvara-render-icon PRIVATE Kelvara::gui)
    target_compile_options(kelvara-render-icon PRIVATE ${KELVARA_WARNINGS})
    set(KELVARA_ICO ${KELVARA_WINDOWS_DIR}/Kelvara.ico)
    set(pngs)
    foreach(size 16 24 32 48 64 128)
      list(APPEND pngs ${KELVARA_WINDOWS_DIR}/icons/${size}x${size}/apps/kelvara.png)
    endforeach()
    set(big ${KELVARA_WINDOWS_DIR}/icons/256x256/apps/kelvara.png)
    add_custom_command(OUTPUT ${KELVARA_ICO}
      COMMAND ${CMAKE_COMMAND} -E env "WINEPATH=${KELVARA_WINEPATH}" WINEQT_QPA_PLATFORM=offscreen
              QT_QPA_PLATFORM=offscreen WINEDEBUG=-all
              ${CMAKE_CROSSCOMPILING_EMULATOR} $<TARGET_FILE:kelvara-render-icon> ${KELVARA_WINDOWS_DIR}/icons
      COMMAND ${KELVARA_ICOTOOL} -c -o ${KELVARA_ICO} ${pngs} -r ${big} # 256 px kept as PNG inside
      DEPENDS kelvara-render-icon VERBATIM)
    add_custom_target(kelvara-ico DEPENDS ${KELVARA_ICO})
  else()
    message(WARNING "No icon in Kelvara.exe: icotool (icoutils) or the emulator is missing")
  endif()
endif()

# The resource script of one program: its version, and for the window its icon and manifest.
function(kelvara_version_resource target file description extra)
  set(KELVARA_RC_NAME ${target})
  set(KELVARA_RC_FILE ${file})
  set(KELVARA_RC_DESCRIPTION "${description}")
  set(KELVARA_RC_EXTRA "${extra}")
  set(rc ${KELVARA_WINDOWS_DIR}/${target}.rc)
  configure_file(${PROJECT_SOURCE_DIR}/dist/windows/version.rc.in ${rc} @ONLY)
  target_sources(${target} PRIVATE ${rc})
endfunction()

kelvara_version_resource(kelvara-report kelvara-report.exe "kelvara-report — статистика проездов в виде текста" "")
if(TARGET Kelvara)
  configure_file(dist/windows/Kelvara.manifest.in ${KELVARA_WINDOWS_DIR}/Kelvara.manifest @ONLY)
  set(extra "1 24 \"Kelvara.manifest\"") # CREATEPROCESS_MANIFEST_RESOURCE_ID, RT_MANIFEST
  if(KELVARA_ICO)
    string(APPEND extra "\nIDI_ICON1 ICON \"Kelvara.ico\"")
  endif()
  kelvara_version_resource(Kelvara Kelvara.exe "Kelvara — статистика проездов" "${extra}")
  set_source_files_properties(${KELVARA_WINDOWS_DIR}/Kelvara.rc TARGET_DIRECTORY Kelvara PROPERTIES
    OBJECT_DEPENDS "${KELVARA_WINDOWS_DIR}/Kelvara.manifest;${KELVARA_ICO}")
  if(KELVARA_ICO)
    add_dependencies(Kelvara kelvara-ico)
  endif()
  target_link_libraries(kelvara_gui PUBLIC version) # GetFileVersionInfoW for the About box
endif()

# ---- the zip and the installer (MinGW builds with the window) -----------------------------------
if(NOT MINGW OR NOT TARGET Kelvara)
  return()
endif()
find_program(KELVARA_MAKENSIS makensis)
set(KELVARA_ZIP ${CMAKE_BINARY_DIR}/Kelvara-${PROJECT_VERSION}-windows-x64.zip)
set(KELVARA_SETUP ${CMAKE_BINARY_DIR}/Kelvara-${PROJECT_VERSION}-setup.exe)
set(KELVARA_QT_TRANSLATIONS /usr/share/qt6/translations CACHE PATH "Qt's translations (qtbase_ru.qm)")
add_custom_target(windows-package
  COMMAND ${CMAKE_COMMAND} -DSTAGE=${KELVARA_WINDOWS_DIR}/package/Kelvara
          "-DPROGRAMS=$<TARGET_FILE:Kelvara>|$<TARGET_FILE:kelvara-report>"
          "-DDLL_DIRS=${dll_dirs}" -DQT_PREFIX=${KELVARA_QT_PREFIX} -DVERSION=${PROJECT_VERSION}
          "-DICO=${KELVARA_ICO}"
          -DTRANSLATIONS=${KELVARA_QT_TRANSLATIONS} -DSOURCE_DIR=${PROJECT_SOURCE_DIR}
          -DOBJDUMP=${CMAKE_OBJDUMP} -DSTRIP=${CMAKE_STRIP} -DZIP=${KELVARA_ZIP}
          -DMAKENSIS=${KELVARA_MAKENSIS} -DNSI=${KELVARA_WINDOWS_DIR}/Kelvara.nsi -DSETUP=${KELVARA_SETUP}
          -P ${PROJECT_SOURCE_DIR}/cmake/WindowsPackage.cmake
  DEPENDS Kelvara kelvara-report VERBATIM)
