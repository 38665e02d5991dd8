target_link_libraries(bench_decode PRIVATE session devicesim PkgConfig::TURBOJPEG)
