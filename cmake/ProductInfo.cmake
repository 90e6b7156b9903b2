# The product's names and the installed layout, in one place: the program's
# version block, the About box, the desktop entry, the AppStream metadata and
# the Debian package are all made from these.
include(GNUInstallDirs)

set(QZR_PROGRAM_NAME "QZR")
set(QZR_PRODUCT_NAME "ZT-46 Control Utilities")
set(QZR_COMPANY_NAME "Halvern")
set(QZR_LEGAL_COPYRIGHT "Copyright (C) 2026 Halvern")
set(QZR_HOMEPAGE "https://www.halvern.example/zt46")
set(QZR_CONTACT "Halvern support <support@halvern.example>")
# The reverse-DNS name of the desktop entry, the icon and the metadata.
set(QZR_APPLICATION_ID "example.halvern.qzr")
set(QZR_RELEASE_DATE "2026-12-10")

# The file version has four parts; the project version may give fewer.
foreach(part MAJOR MINOR PATCH TWEAK)
    if("${PROJECT_VERSION_${part}}" STREQUAL "")
        set(QZR_VERSION_${part} 0)
    else()
        set(QZR_VERSION_${part} ${PROJECT_VERSION_${part}})
    endif()
endforeach()

# The installed data directory and library directory seen from the installed
# program's directory, so that an installation can be moved to any prefix.
set(QZR_INSTALL_DATADIR ${CMAKE_INSTALL_DATADIR}/qzr)
file(RELATIVE_PATH QZR_DATA_DIR_FROM_BIN_DIR /prefix/${CMAKE_INSTALL_BINDIR}
     /prefix/${QZR_INSTALL_DATADIR})
file(RELATIVE_PATH QZR_LIB_DIR_FROM_BIN_DIR /prefix/${CMAKE_INSTALL_BINDIR}
     /prefix/${CMAKE_INSTALL_LIBDIR})
