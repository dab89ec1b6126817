# The export commands with their dialog, progress window and settings, following
# links, and the themes menu: widget parts of the main frame, compiled into the
# program's library with the frame's other parts.
list(APPEND QORVA_FRAME_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/export_dialog.cpp
  ${CMAKE_CURRENT_LIST_DIR}/export_commands.cpp
  ${CMAKE_CURRENT_LIST_DIR}/export_progress.cpp
  ${CMAKE_CURRENT_LIST_DIR}/export_settings.cpp
  ${CMAKE_CURRENT_LIST_DIR}/link_opener.cpp
  ${CMAKE_CURRENT_LIST_DIR}/themes_menu.cpp
)
