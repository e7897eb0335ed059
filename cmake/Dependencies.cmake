# zlib (Debian's MinGW build), GLEW (built by ./pellux setup), the Khronos OpenCL headers.
set(ZLIB_USE_STATIC_LIBS ON)
find_package(ZLIB REQUIRED)

if(NOT GLEW_ROOT)
    message(FATAL_ERROR "GLEW_ROOT is not set: run ./pellux setup")
endif()
add_library(glew_static STATIC IMPORTED GLOBAL)
set_target_properties(glew_static PROPERTIES
    IMPORTED_LOCATION ${GLEW_ROOT}/lib/libglew32.a
    INTERFACE_INCLUDE_DIRECTORIES ${GLEW_ROOT}/include
    INTERFACE_COMPILE_DEFINITIONS GLEW_STATIC)

# The OpenCL headers live beside the host's own headers, which must not enter a Windows build:
# give them a folder of their own.
set(QS_CL_INCLUDE ${CMAKE_BINARY_DIR}/cl-include)
if(NOT EXISTS ${QS_CL_INCLUDE}/CL/cl.h)
    file(MAKE_DIRECTORY ${QS_CL_INCLUDE})
    file(CREATE_LINK /usr/include/CL ${QS_CL_INCLUDE}/CL SYMBOLIC)
endif()
add_library(opencl_headers INTERFACE)
target_include_directories(opencl_headers SYSTEM INTERFACE ${QS_CL_INCLUDE})
target_compile_definitions(opencl_headers INTERFACE CL_TARGET_OPENCL_VERSION=120)
