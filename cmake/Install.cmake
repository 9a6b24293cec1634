# cmake --install build: a program folder the user can write to (the program
# keeps Pelvado.ini and proposes its files beside itself), a command in bin/, a
# menu entry that also opens .Cal files, the type of those files and the icon
# in the hicolor theme. The Debian package (cmake/Paquet.cmake) takes the rules
# without a component and puts the program in bin/ instead of the
# "utilisateur" ones.
if(CMAKE_INSTALL_PREFIX_INITIALIZED_TO_DEFAULT)
  set(CMAKE_INSTALL_PREFIX "$ENV{HOME}/.local" CACHE PATH "Install prefix" FORCE)
endif()

set(ARDEMO_DOSSIER_PROGRAMME "opt/ardemo")
install(TARGETS ardemo RUNTIME DESTINATION ${ARDEMO_DOSSIER_PROGRAMME} COMPONENT utilisateur)
install(FILES resources/ardemo.1 DESTINATION share/man/man1)
install(FILES resources/ardemo.png DESTINATION share/icons/hicolor/32x32/apps)
install(FILES resources/ardemo-48.png DESTINATION share/icons/hicolor/48x48/apps RENAME ardemo.png)
install(FILES resources/ardemo-256.png DESTINATION share/icons/hicolor/256x256/apps RENAME ardemo.png)
install(FILES resources/ardemo-mime.xml DESTINATION share/mime/packages RENAME ardemo.xml)
install(CODE "
  set(prefixe \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}\")
  set(ARDEMO_EXEC \"\${CMAKE_INSTALL_PREFIX}/${ARDEMO_DOSSIER_PROGRAMME}/ardemo\")
  configure_file(\"${CMAKE_SOURCE_DIR}/resources/ardemo.desktop.in\" \"${CMAKE_BINARY_DIR}/ardemo.desktop\" @ONLY)
  file(INSTALL \"${CMAKE_BINARY_DIR}/ardemo.desktop\" DESTINATION \"\${prefixe}/share/applications\")
  file(MAKE_DIRECTORY \"\${prefixe}/bin\")
  file(CREATE_LINK \"\${CMAKE_INSTALL_PREFIX}/${ARDEMO_DOSSIER_PROGRAMME}/ardemo\" \"\${prefixe}/bin/ardemo\" SYMBOLIC)
  list(APPEND CMAKE_INSTALL_MANIFEST_FILES \"\${prefixe}/bin/ardemo\")
  # The desktop learns the .Cal type and the program that opens it (the
  # Debian package leaves this to dpkg's triggers).
  find_program(ARDEMO_MAJ_MIME update-mime-database)
  find_program(ARDEMO_MAJ_BUREAU update-desktop-database)
  if(ARDEMO_MAJ_MIME)
    execute_process(COMMAND \"\${ARDEMO_MAJ_MIME}\" \"\${prefixe}/share/mime\" OUTPUT_QUIET ERROR_QUIET)
  endif()
  if(ARDEMO_MAJ_BUREAU)
    execute_process(COMMAND \"\${ARDEMO_MAJ_BUREAU}\" \"\${prefixe}/share/applications\" OUTPUT_QUIET ERROR_QUIET)
  endif()
" COMPONENT utilisateur)
