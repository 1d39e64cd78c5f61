# Win32 shell: the window layer, message boxes, input query, widgets, single
# instance, error reporting and the main form. A library, so the e2e probe
# and the Wine tests link the same code as Klipora.exe.
klipora_add_library(klipora_app_shell
  ui/application.cpp
  ui/modal_loop.cpp
  ui/wide_text.cpp
  ui/window.cpp
  capture_workflow.cpp
  error_reporting.cpp
  hotkeys.cpp
  http_label.cpp
  input_query.cpp
  input_query_layout.cpp
  link_cursor.cpp
  main_form.cpp
  main_form_settings.cpp
  message_box.cpp
  module_paths.cpp
  single_instance.cpp
  speed_button.cpp
  tooltip.cpp)
target_link_libraries(klipora_app_shell PUBLIC
  klipora_app_core klipora_save comctl32 shell32 winmm advapi32 gdi32 user32)

add_executable(Klipora WIN32 main.cpp "${PROJECT_SOURCE_DIR}/resources/klipora.rc")
target_link_options(Klipora PRIVATE -municode)
target_link_libraries(Klipora PRIVATE klipora_app_shell)
