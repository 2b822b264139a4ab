# The reference's table of the nine printer procedures, as Doxygen made it
# (PAGE: the callbacks group's HTML): one row per procedure, each starting
# with the procedure's name and its type, so that no row was run into the
# one before (as a reformatted comment once did).
cmake_minimum_required(VERSION 3.25)
file(READ ${PAGE} page)
set(problems)
foreach(entry
    "Fecha_Comp_NFiscalVinc:1" "Usa_CompNFis:2" "Guilhotina:2" "FechRelatGerenc:3" "ImprimePadrao:3"
    "Abre_Comp_NFiscalVinc:4" "Cupom_NFiscNVinc:5" "Relatorio_Gerencial_Imp:5" "GravaDocumentosNaoFiscais:5")
  string(REPLACE ":" ";" parts "${entry}")
  list(GET parts 0 name)
  list(GET parts 1 arity)
  if(NOT page MATCHES "<tr[^>]*>[ \n]*<td[^>]*>${name} *</td>[ \n]*<td[^>]*>(<a [^>]*>)?ZulPrinterProc${arity}(</a>)? *</td>")
    list(APPEND problems "${name}")
  endif()
endforeach()
if(problems)
  message(FATAL_ERROR "the printer procedures' table has no whole row for: ${problems}")
endif()
message(STATUS "the printer procedures' table has a whole row for each of the nine")
