# The main frame's parts: settings, recent documents, clipboard, search bar,
# document lifecycle, menus and the About box.
#
# qorva_frame_core holds the logic that needs no display (Qt Core at most), so its
# tests run without X. QORVA_FRAME_SOURCES are the widget parts, compiled into the
# program's library by src/win/CMakeLists.txt.
set(_frame_dir ${CMAKE_CURRENT_LIST_DIR})

if(NOT TARGET qorva_frame_core)
  add_library(qorva_frame_core STATIC
    ${_frame_dir}/settings_store.cpp
    ${_frame_dir}/settings.cpp
    ${_frame_dir}/recent_documents.cpp
    ${_frame_dir}/cf_html.cpp
    ${_frame_dir}/clipboard_formats.cpp
    ${_frame_dir}/menu_layout.cpp
    ${_frame_dir}/menu_accelerators.cpp
    ${_frame_dir}/document_format.cpp
    ${_frame_dir}/document_title.cpp
    ${_frame_dir}/document_messages.cpp
    ${_frame_dir}/document_conversion.cpp
    ${_frame_dir}/file_content.cpp
    ${_frame_dir}/document_lifecycle.cpp
    ${_frame_dir}/file_stamp.cpp
    ${_frame_dir}/recovery_store.cpp
    ${_frame_dir}/outline_headings.cpp
  )
  target_include_directories(qorva_frame_core PUBLIC ${CMAKE_SOURCE_DIR})
  target_link_libraries(qorva_frame_core PUBLIC
    qorva_tools qorva_converter_host qorva_resources Qt6::Core nlohmann_json::nlohmann_json)
endif()

set(QORVA_FRAME_SOURCES
  ${_frame_dir}/menu_bar.cpp
  ${_frame_dir}/recent_menu.cpp
  ${_frame_dir}/search_view.cpp
  ${_frame_dir}/outline_panel.cpp
  ${_frame_dir}/clipboard.cpp
  ${_frame_dir}/document_dialogs.cpp
  ${_frame_dir}/about_dialog.cpp
  ${_frame_dir}/document_window.cpp
  ${_frame_dir}/settings_shell_values.cpp
  ${_frame_dir}/outside_change_watch.cpp
  ${_frame_dir}/recovery_keeper.cpp
  ${_frame_dir}/recovery_offer.cpp
  ${_frame_dir}/document_guards.cpp
  ${_frame_dir}/tool_run_watch.cpp
)
# The widget parts need the core; the shell library is defined after this file
# is included, so the link is made when src/win's list has been read.
if(CMAKE_CURRENT_SOURCE_DIR STREQUAL _frame_dir)
  cmake_language(DEFER CALL target_link_libraries qorva_shell PUBLIC qorva_frame_core)
endif()
