add_executable(Klipora WIN32 main.cpp)
target_link_options(Klipora PRIVATE -municode)
target_link_libraries(Klipora PRIVATE klipora_app_core)
