target_link_libraries(${name} PRIVATE resize)
# OpenCV (core + imgproc, libopencv-imgproc-dev) is optional: when found, cv::resize is measured
# on the same calls.
find_package(OpenCV QUIET COMPONENTS core imgproc)
if(OpenCV_FOUND)
  target_include_directories(${name} SYSTEM PRIVATE ${OpenCV_INCLUDE_DIRS})
  target_link_libraries(${name} PRIVATE ${OpenCV_LIBS})
  target_compile_definitions(${name} PRIVATE QUENLO_HAVE_OPENCV=1)
else()
  # Debian ships OpenCV's CMake package only with the full libopencv-dev.
  find_path(QUENLO_OPENCV_INCLUDE_DIR opencv2/imgproc.hpp PATH_SUFFIXES opencv4)
  find_library(QUENLO_OPENCV_CORE_LIBRARY opencv_core)
  find_library(QUENLO_OPENCV_IMGPROC_LIBRARY opencv_imgproc)
  if(QUENLO_OPENCV_INCLUDE_DIR AND QUENLO_OPENCV_CORE_LIBRARY AND QUENLO_OPENCV_IMGPROC_LIBRARY)
    target_include_directories(${name} SYSTEM PRIVATE ${QUENLO_OPENCV_INCLUDE_DIR})
    target_link_libraries(${name} PRIVATE ${QUENLO_OPENCV_IMGPROC_LIBRARY} ${QUENLO_OPENCV_CORE_LIBRARY})
    target_compile_definitions(${name} PRIVATE QUENLO_HAVE_OPENCV=1)
  endif()
endif()
