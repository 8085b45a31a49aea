# Both programs answer --help and --version on standard output and end with 0,
# without a display (the desktop program answers before its toolkit starts),
# and both print the one version of the project. The desktop program refuses
# an unknown option with 64 instead of taking it for a file name.
function(expect_answer program option pattern)
  execute_process(
    COMMAND ${CMAKE_COMMAND} -E env --unset=DISPLAY --unset=WAYLAND_DISPLAY --unset=QT_QPA_PLATFORM
            ${program} ${option}
    RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err TIMEOUT 30)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${program} ${option} ended with ${rc}: ${err}")
  endif()
  if(NOT out MATCHES "${pattern}")
    message(FATAL_ERROR "${program} ${option} printed:\n${out}\nwhere \"${pattern}\" was expected")
  endif()
endfunction()

string(REPLACE "." "\\." version "${VERSION}")
expect_answer(${BATCH} --version "^kalvoro-batch ${version}\n$")
expect_answer(${BATCH} --help "^Uso: kalvoro-batch .*Códigos de saída:")
if(GUI)
  expect_answer(${GUI} --version "^kalvoro ${version}\n$")
  expect_answer(${GUI} --help "^Uso: kalvoro .*\\[ARQUIVO\\.vig\\].*--version")
  execute_process(
    COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen ${GUI} --nao-existe
    RESULT_VARIABLE rc OUTPUT_QUIET ERROR_VARIABLE err TIMEOUT 30)
  if(NOT rc EQUAL 64 OR NOT err MATCHES "opção desconhecida: --nao-existe")
    message(FATAL_ERROR "kalvoro --nao-existe ended with ${rc}: ${err}")
  endif()
endif()
