# The driver package that setup.exe carries as raw data 103: a cabinet made
# with gcab. By default it is our stand-in package (devcon for x86 and amd64,
# Tavrin.inf); -DTAVRIN_VENDOR_PACKAGE=<folder> ships a vendor's package
# folder instead. The tests always get the stand-in package.
include(ExternalProject)

set(TAVRIN_VENDOR_PACKAGE "" CACHE PATH
    "Vendor driver package folder to embed in setup.exe; empty for the stand-in package")

set(TAVRIN_CHECK_CABINET ${CMAKE_SOURCE_DIR}/cmake/CheckCabinet.cmake)

# devcon for the architecture this build does not compile for.
if(TAVRIN_ARCH STREQUAL "amd64")
    set(TAVRIN_OTHER_ARCH x86)
    set(TAVRIN_OTHER_TOOLCHAIN i686)
else()
    set(TAVRIN_OTHER_ARCH amd64)
    set(TAVRIN_OTHER_TOOLCHAIN x86_64)
endif()
set(TAVRIN_OTHER_DEVCON_DIR ${CMAKE_BINARY_DIR}/devcon-${TAVRIN_OTHER_ARCH})
ExternalProject_Add(devcon_${TAVRIN_OTHER_ARCH}
    SOURCE_DIR ${CMAKE_SOURCE_DIR}/devcon
    BINARY_DIR ${TAVRIN_OTHER_DEVCON_DIR}
    CMAKE_ARGS
        -DCMAKE_TOOLCHAIN_FILE=${CMAKE_SOURCE_DIR}/cmake/toolchain-${TAVRIN_OTHER_TOOLCHAIN}.cmake
        -DCMAKE_BUILD_TYPE=${CMAKE_BUILD_TYPE}
    BUILD_ALWAYS TRUE
    INSTALL_COMMAND ""
    BUILD_BYPRODUCTS ${TAVRIN_OTHER_DEVCON_DIR}/devcon.exe)

# Packs <folder>/<entries> into <dir>/DriverPackage.cab and checks the result;
# <target> builds it and names the cabinet and its entries, in packing order.
function(tavrin_pack_cabinet target dir folder entries depends)
    set(cabinet ${dir}/DriverPackage.cab)
    # The cabinet records each file's date: packages assembled by the build get
    # a fixed one, so that two builds give the same bytes. The dates are set on
    # copies, since older inputs would make every build assemble them again. A
    # vendor's folder is packed as it is.
    set(pack_folder ${folder})
    set(fix_dates "")
    string(FIND "${folder}/" "${CMAKE_BINARY_DIR}/" in_build)
    if(in_build EQUAL 0)
        set(pack_folder ${dir}/dated)
        set(fix_dates
            COMMAND ${CMAKE_COMMAND} -E rm -rf ${pack_folder}
            COMMAND ${CMAKE_COMMAND} -E copy_directory ${folder} ${pack_folder}
            COMMAND ${CMAKE_COMMAND} -E chdir ${pack_folder} touch -d 2016-12-06T00:00:00Z ${entries})
    endif()
    add_custom_command(OUTPUT ${cabinet}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${dir}
        ${fix_dates}
        COMMAND ${CMAKE_COMMAND} -E rm -f ${cabinet}
        COMMAND ${CMAKE_COMMAND} -E chdir ${pack_folder} gcab -c -z ${cabinet} ${entries}
        COMMAND ${CMAKE_COMMAND} -DCABINET=${cabinet} "-DENTRIES=${entries}" -P ${TAVRIN_CHECK_CABINET}
        DEPENDS ${depends} ${TAVRIN_CHECK_CABINET}
        COMMENT "Packing the driver package ${cabinet}"
        VERBATIM)
    add_custom_target(${target} DEPENDS ${cabinet})
    set_target_properties(${target} PROPERTIES TAVRIN_CABINET ${cabinet} TAVRIN_CABINET_ENTRIES "${entries}")
endfunction()

# The stand-in package, assembled from both devcon builds and our INF. Each
# devcon goes in without debugging information or symbols, stripped by the
# objcopy of its architecture (SOURCE_DATE_EPOCH keeps the time out of the PE
# header).
set(TAVRIN_STANDIN_DIR ${CMAKE_BINARY_DIR}/standin-package)
set(standin_files ${TAVRIN_STANDIN_DIR}/files)
set(standin_entries x86/devcon.exe amd64/devcon.exe Tavrin.inf)
find_program(TAVRIN_OTHER_OBJCOPY ${TAVRIN_OTHER_TOOLCHAIN}-w64-mingw32-objcopy REQUIRED)
set(strip ${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=0 ${CMAKE_OBJCOPY} --strip-all)
set(strip_other ${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=0 ${TAVRIN_OTHER_OBJCOPY} --strip-all)
add_custom_command(OUTPUT ${standin_files}/x86/devcon.exe ${standin_files}/amd64/devcon.exe
                          ${standin_files}/Tavrin.inf
    COMMAND ${CMAKE_COMMAND} -E make_directory ${standin_files}/x86 ${standin_files}/amd64
    COMMAND ${strip} $<TARGET_FILE:devcon> ${standin_files}/${TAVRIN_ARCH}/devcon.exe
    COMMAND ${strip_other} ${TAVRIN_OTHER_DEVCON_DIR}/devcon.exe ${standin_files}/${TAVRIN_OTHER_ARCH}/devcon.exe
    COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/res/package/Tavrin.inf ${standin_files}/Tavrin.inf
    DEPENDS devcon devcon_${TAVRIN_OTHER_ARCH} $<TARGET_FILE:devcon>
            ${TAVRIN_OTHER_DEVCON_DIR}/devcon.exe ${CMAKE_SOURCE_DIR}/res/package/Tavrin.inf
    VERBATIM)
list(TRANSFORM standin_entries PREPEND ${standin_files}/ OUTPUT_VARIABLE standin_paths)
tavrin_pack_cabinet(standin_package ${TAVRIN_STANDIN_DIR} ${standin_files} "${standin_entries}" "${standin_paths}")

# A vendor package must hold exactly the eight files setup.exe's package
# layout names: devcon, the driver library and the framework co-installer for
# each architecture, the INF and its catalog at the root. Names are compared
# without regard to case, as Windows does.
function(tavrin_check_vendor_package folder out_entries)
    set(layout "x86\\devcon.exe, x86\\<driver>.dll, x86\\wudfupdate_01009.dll, \
amd64\\devcon.exe, amd64\\<driver>.dll, amd64\\wudfupdate_01009.dll, Tavrin.inf and Tavrin.cat \
(<driver>.dll: the driver library that Tavrin.inf names, the same in both folders)")
    if(NOT IS_DIRECTORY "${folder}")
        message(FATAL_ERROR "TAVRIN_VENDOR_PACKAGE: ${folder} is not a folder.\nIt must hold ${layout}.")
    endif()
    # Checked again by every build, which configures anew when files come or go.
    file(GLOB_RECURSE files CONFIGURE_DEPENDS RELATIVE ${folder} LIST_DIRECTORIES false ${folder}/*)
    list(SORT files)
    set(lower_files "")
    foreach(file ${files})
        string(TOLOWER ${file} lower)
        list(APPEND lower_files ${lower})
    endforeach()

    set(problems "")
    set(known "")
    foreach(required Tavrin.inf Tavrin.cat x86/devcon.exe x86/wudfupdate_01009.dll
                     amd64/devcon.exe amd64/wudfupdate_01009.dll)
        string(TOLOWER ${required} lower)
        if(lower IN_LIST lower_files)
            list(APPEND known ${lower})
        else()
            list(APPEND problems "${required} is missing")
        endif()
    endforeach()
    set(drivers "")
    foreach(arch x86 amd64)
        set(found "")
        foreach(lower ${lower_files})
            if(lower MATCHES "^${arch}/[^/]+\\.dll$" AND NOT lower IN_LIST known)
                list(APPEND found ${lower})
            endif()
        endforeach()
        list(LENGTH found count)
        if(count EQUAL 1)
            list(APPEND known ${found})
            string(REPLACE "${arch}/" "" driver ${found})
            list(APPEND drivers ${driver})
        else()
            list(APPEND problems "${arch}/ holds ${count} driver libraries instead of one")
        endif()
    endforeach()
    list(LENGTH drivers driver_count)
    if(driver_count EQUAL 2)
        list(GET drivers 0 x86_driver)
        list(GET drivers 1 amd64_driver)
        list(FIND lower_files tavrin.inf inf_index)
        if(NOT x86_driver STREQUAL amd64_driver)
            list(APPEND problems "the driver libraries differ: x86/${x86_driver}, amd64/${amd64_driver}")
        elseif(NOT inf_index EQUAL -1)
            list(GET files ${inf_index} inf)
            file(READ ${folder}/${inf} inf_text)
            string(TOLOWER "${inf_text}" inf_text)
            string(FIND "${inf_text}" "${x86_driver}" named)
            if(named EQUAL -1)
                list(APPEND problems "Tavrin.inf does not name the driver library ${x86_driver}")
            endif()
        endif()
    endif()
    foreach(file ${files})
        string(TOLOWER ${file} lower)
        if(NOT lower IN_LIST known)
            list(APPEND problems "${file} does not belong in it")
        endif()
    endforeach()

    if(problems)
        string(REPLACE ";" "; " problems "${problems}")
        message(FATAL_ERROR "TAVRIN_VENDOR_PACKAGE=${folder} is not a driver package: ${problems}.\n"
                            "It must hold exactly ${layout}.")
    endif()
    set(${out_entries} ${files} PARENT_SCOPE)
endfunction()

if(TAVRIN_VENDOR_PACKAGE)
    get_filename_component(vendor_folder ${TAVRIN_VENDOR_PACKAGE} ABSOLUTE)
    tavrin_check_vendor_package(${vendor_folder} vendor_entries)
    list(TRANSFORM vendor_entries PREPEND ${vendor_folder}/ OUTPUT_VARIABLE vendor_paths)
    tavrin_pack_cabinet(vendor_package ${CMAKE_BINARY_DIR}/vendor-package ${vendor_folder}
                        "${vendor_entries}" "${vendor_paths}")
    set(TAVRIN_SHIPPED_PACKAGE vendor_package)
    message(STATUS "setup.exe embeds the vendor driver package ${vendor_folder}")
else()
    set(TAVRIN_SHIPPED_PACKAGE standin_package)
endif()

# An object library of res/setup.rc with the cabinet that <package> (a target
# of tavrin_pack_cabinet) packs, or with no package when <package> is empty.
# Each library compiles a small script of its own that includes setup.rc, so
# that each depends on its own cabinet only.
function(tavrin_add_resources name package)
    set(script ${CMAKE_CURRENT_BINARY_DIR}/${name}.rc)
    set(depends ${CMAKE_SOURCE_DIR}/res/setup.rc ${CMAKE_SOURCE_DIR}/res/resource.h
                ${CMAKE_SOURCE_DIR}/res/setup.manifest ${CMAKE_SOURCE_DIR}/res/tavrin.ico)
    set(definition "")
    if(package)
        get_target_property(cabinet ${package} TAVRIN_CABINET)
        list(APPEND depends ${cabinet})
    else()
        set(definition "#define TAVRIN_WITHOUT_DRIVER_PACKAGE")
    endif()
    file(CONFIGURE OUTPUT ${script} CONTENT "${definition}\n#include \"${CMAKE_SOURCE_DIR}/res/setup.rc\"\n")
    add_library(${name} OBJECT ${script})
    set_source_files_properties(${script} PROPERTIES OBJECT_DEPENDS "${depends}")
    # windres looks for the files the script names on its include path.
    target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/res)
    if(package)
        get_filename_component(folder ${cabinet} DIRECTORY)
        target_include_directories(${name} PRIVATE ${folder})
        add_dependencies(${name} ${package})
    endif()
endfunction()
