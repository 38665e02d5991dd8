if(TARGET app)
  target_link_libraries(bench_display PRIVATE app devicesim Qt6::Widgets)
  set_target_properties(bench_display PROPERTIES AUTOMOC ON)
else()
  # The display benchmark needs the GUI build.
  set_target_properties(bench_display PROPERTIES EXCLUDE_FROM_ALL ON)
endif()
