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
  )
  target_include_directories(qorva_frame_core PUBLIC ${CMAKE_SOURCE_DIR})
  target_link_libraries(qorva_frame_core PUBLIC Qt6::Core nlohmann_json::nlohmann_json)
endif()

set(QORVA_FRAME_SOURCES
)
