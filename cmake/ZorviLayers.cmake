# The layers, checked whenever the project is configured: a library may use those below it,
# never those above or beside it. The game and its services know no Qt; the operator window
# knows neither the browser engine nor the hall server (the program wires those to the game).
function(zorvi_forbid_links target)
  if(NOT TARGET ${target})
    return()
  endif()
  get_target_property(links ${target} LINK_LIBRARIES)
  foreach(forbidden IN LISTS ARGN)
    foreach(link IN LISTS links)
      if(link MATCHES "^${forbidden}$")
        message(FATAL_ERROR "${target} must not link ${link}")
      endif()
    endforeach()
  endforeach()
endfunction()

zorvi_forbid_links(zorvi_rules ".*::.*" zorvi_services zorvi_engine zorvi_ui zorvi_hall_server zorvi_hall_protocol)
zorvi_forbid_links(zorvi_services "Qt6::.*" zorvi_engine zorvi_ui zorvi_hall_server)
zorvi_forbid_links(zorvi_engine "Qt6::.*" zorvi_ui zorvi_hall_server zorvi_public_screen)
zorvi_forbid_links(zorvi_hall_protocol "Qt6::.*" zorvi_engine zorvi_hall_server)
zorvi_forbid_links(zorvi_ui zorvi_hall_server zorvi_public_screen zorvi_app "Qt6::WebEngine.*")
zorvi_forbid_links(zorvi_public_screen zorvi_ui zorvi_hall_server zorvi_app)
zorvi_forbid_links(zorvi_hall_server zorvi_ui zorvi_public_screen zorvi_app "Qt6::Widgets")
