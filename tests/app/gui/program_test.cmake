# The program as a whole: started with a beam file on its command line it opens
# the file as the Open command does (calculate and draw), then saves a picture
# of every page and dialog, computes an influence line, prints both windows'
# pages and the deflected shape's (as PDF files) and ends. Works on a copy so that the example stays as it is.
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
file(COPY ${EXAMPLES}/dois-trechos.vig DESTINATION ${WORK})
execute_process(
  COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen
          ${PROGRAM} ${WORK}/dois-trechos.vig --screenshots ${WORK}/shots
  WORKING_DIRECTORY ${WORK}
  RESULT_VARIABLE rc
  TIMEOUT 60)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "kalvoro ended with ${rc}")
endif()
foreach(f dois-trechos.sai dois-trechosM.wmf dois-trechosC.wmf dois-trechosD.wmf shots/page1.png shots/page5.png
          shots/page7.png shots/page8.png shots/config.png shots/section.png shots/influence1.png
          shots/influence2.png shots/open.png shots/message.png dois-trechosLIM.sai dois-trechosLIM.wmf
          dois-trechos.pdf dois-trechosD.pdf dois-trechosLIM.pdf)
  if(NOT EXISTS ${WORK}/${f})
    message(FATAL_ERROR "missing ${f}")
  endif()
endforeach()
file(READ ${WORK}/dois-trechos.sai report)
if(NOT report MATCHES "Deslocamentos")
  message(FATAL_ERROR "the report has no displacement block")
endif()

# Without a file the influence line cannot be computed: its message goes to the
# standard error output instead of a box that would wait for ever.
execute_process(
  COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen ${PROGRAM} --screenshots ${WORK}/bare
  WORKING_DIRECTORY ${WORK}
  RESULT_VARIABLE rc
  ERROR_VARIABLE err
  TIMEOUT 60)
if(NOT rc EQUAL 0 OR NOT EXISTS ${WORK}/bare/influence2.png)
  message(FATAL_ERROR "kalvoro --screenshots without a file ended with ${rc}: ${err}")
endif()
if(NOT err MATCHES "kalvoro: Linha de Influência não calculada")
  message(FATAL_ERROR "the influence line's message did not reach the error output: ${err}")
endif()
