# Flags every target of ours gets; third-party code is compiled without them.
set(QX_WARNINGS -Wall -Wextra)

if(WIN32)
  # No runtime DLLs beside the installer: everything links statically.
  add_link_options(-static -static-libgcc -static-libstdc++)
  # The image ships behind a download: code nothing calls stays out of it,
  # and -O2 rather than -O3 (the decoding runs in the codec library).
  add_compile_options(-ffunction-sections -fdata-sections)
  add_link_options(-Wl,--gc-sections)
  set(CMAKE_C_FLAGS_RELEASE "-O2 -DNDEBUG")
  set(CMAKE_CXX_FLAGS_RELEASE "-O2 -DNDEBUG")
  add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601)
  # zlib1.dll is no system DLL: a copy beside the installer would be loaded.
  set(ZLIB_USE_STATIC_LIBS ON)
  find_package(ZLIB REQUIRED)
  # The codec library the build embeds and the tests load, of the build's word size.
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(QX_CODEC_DLL "${QX_DEPS}/7zip-x86_64/7zTmp.dll")
  else()
    set(QX_CODEC_DLL "${QX_DEPS}/7zip/7zTmp.dll")
  endif()
else()
  if(QX_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
    add_link_options(-fsanitize=address,undefined)
  endif()
endif()

# TinyXML-2 from the Debian source package, in both builds.
add_library(tinyxml2 STATIC "${QX_DEPS}/tinyxml2/tinyxml2.cpp")
target_include_directories(tinyxml2 SYSTEM PUBLIC "${QX_DEPS}/tinyxml2")

function(qx_target target)
  target_compile_options(${target} PRIVATE ${QX_WARNINGS})
  target_include_directories(${target} PUBLIC "${CMAKE_SOURCE_DIR}")
endfunction()
