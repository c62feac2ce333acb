# Runs at install time: writes the files that name the install prefix.
set(root "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}")
set(program_dir "${CMAKE_INSTALL_PREFIX}/${TRIMJET_PROGRAM_DIR}")

# Quoted and escaped for a desktop entry's Exec key.
function(trimjet_exec_quote out path)
  string(REPLACE "\\" "\\\\\\\\" path "${path}")
  foreach(ch "\"" "`" "$")
    string(REPLACE "${ch}" "\\\\${ch}" path "${path}")
  endforeach()
  set(${out} "\"${path}\"" PARENT_SCOPE)
endfunction()

message(STATUS "Installing: ${root}/${TRIMJET_PROGRAM_DIR}/Trimjet.dat")
file(CREATE_LINK Trimjet "${root}/${TRIMJET_PROGRAM_DIR}/Trimjet.dat" SYMBOLIC)

set(TRIMJET_PROGRAM "${program_dir}/Trimjet")
set(TRIMJET_HANDOFF "${program_dir}/trimjet-handoff")
message(STATUS "Installing: ${root}/${TRIMJET_BINDIR}/trimjet")
configure_file("${TRIMJET_SOURCE_DIR}/app/desktop/trimjet.in" "${root}/${TRIMJET_BINDIR}/trimjet"
               @ONLY FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ
               GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(applications "${root}/${TRIMJET_DATADIR}/applications")
trimjet_exec_quote(TRIMJET_LAUNCHER_EXEC "${CMAKE_INSTALL_PREFIX}/${TRIMJET_BINDIR}/trimjet")
message(STATUS "Installing: ${applications}/trimjet.desktop")
configure_file("${TRIMJET_SOURCE_DIR}/app/desktop/trimjet.desktop.in"
               "${applications}/trimjet.desktop" @ONLY)
trimjet_exec_quote(TRIMJET_HANDOFF_EXEC "${program_dir}/trimjet-handoff")
message(STATUS "Installing: ${applications}/trimjet-optimize.desktop")
configure_file("${TRIMJET_SOURCE_DIR}/plugin/trimjet-optimize.desktop.in"
               "${applications}/trimjet-optimize.desktop" @ONLY)
