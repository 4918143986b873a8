# Every source file of the project, named once for all its builds: the
# Windows program and its tests (CMakeLists.txt, tests/), and the host build
# of the platform-free part under the sanitizers (host/). Paths are absolute.
get_filename_component(TAMSAEK_ROOT "${CMAKE_CURRENT_LIST_DIR}/.." ABSOLUTE)

# Layers, lowest first: a file includes only its own layer and those below.
set(TAMSAEK_BASE_SOURCES
  base/DateTime.cpp
  base/NumberText.cpp
  base/Text.cpp
  base/TraceText.cpp
  base/WideText.cpp
)
set(TAMSAEK_PLATFORM_SOURCES
  platform/DebugOutput.cpp
  platform/DebugOutputSender.cpp
  platform/Density.cpp
  platform/DiskSpace.cpp
  platform/FolderSearch.cpp
  platform/LongPath.cpp
  platform/MonitorFallbacks.cpp
  platform/PlatformError.cpp
  platform/ProcessMitigations.cpp
  platform/SysUtils.cpp
  platform/SystemLibrary.cpp
  platform/TimeText.cpp
)
set(TAMSAEK_UI_SOURCES
  ui/Application.cpp
  ui/Component.cpp
  ui/Control.cpp
  ui/DefaultPixels.cpp
  ui/Dialogs.cpp
  ui/ErrorReport.cpp
  ui/ExtCtrls.cpp
  ui/Form.cpp
  ui/FormBuilder.cpp
  ui/ImageList.cpp
  ui/Layout.cpp
  ui/LayoutScale.cpp
  ui/ListView.cpp
  ui/ProgramIcons.cpp
  ui/Resources.cpp
  ui/RowPicture.cpp
  ui/ScreenFit.cpp
  ui/StatusBar.cpp
  ui/StdCtrls.cpp
  ui/TreeNode.cpp
  ui/TreeView.cpp
)
set(TAMSAEK_SYSINFO_SOURCES
  sysinfo/CpuClock.cpp
  sysinfo/DisplayDevices.cpp
  sysinfo/DriveText.cpp
  sysinfo/Drives.cpp
  sysinfo/Network.cpp
  sysinfo/NetworkText.cpp
  sysinfo/ProcessWindows.cpp
  sysinfo/ReportText.cpp
  sysinfo/SysInfoWindow.cpp
  sysinfo/SystemReport.cpp
  sysinfo/WindowFilter.cpp
)
set(TAMSAEK_BROWSER_SOURCES
  browser/AddressWalk.cpp
  browser/DebugTrace.cpp
  browser/FileList.cpp
  browser/FileRow.cpp
  browser/FolderTree.cpp
  browser/Navigation.cpp
  browser/SearchWindow.cpp
  browser/SysInfoButton.cpp
  browser/WalkProgress.cpp
)
set(TAMSAEK_APP_SOURCES
  app/EntryGuard.cpp
)
# The program's entry point, apart: the tests and the benchmark link the rest.
set(TAMSAEK_MAIN_SOURCE app/Main.cpp)

# The sources that include no platform header, which the host build compiles
# too. A file that starts to need one leaves this list.
set(TAMSAEK_PURE_SOURCES
  base/DateTime.cpp
  base/NumberText.cpp
  base/Text.cpp
  base/TraceText.cpp
  browser/AddressWalk.cpp
  browser/FileRow.cpp
  platform/LongPath.cpp
  sysinfo/DriveText.cpp
  sysinfo/NetworkText.cpp
  sysinfo/ReportText.cpp
  sysinfo/WindowFilter.cpp
  ui/Layout.cpp
  ui/ScreenFit.cpp
  ui/TreeNode.cpp
)

# The in-process tests of the Windows build, support first.
set(TAMSAEK_TEST_SUPPORT_SOURCES
  tests/support/DebugOutputCapture.cpp
  tests/support/Fixtures.cpp
  tests/support/GdiObjects.cpp
  tests/support/Input.cpp
  tests/support/LayoutShot.cpp
  tests/support/TestMain.cpp
)
# The tests of the pure sources, which the host build runs as well.
set(TAMSAEK_PURE_TEST_SOURCES
  tests/base/DateTimeTest.cpp
  tests/base/NumberTextTest.cpp
  tests/base/TextTest.cpp
  tests/base/TraceTextTest.cpp
  tests/browser/AddressWalkTest.cpp
  tests/browser/FileRowTest.cpp
  tests/browser/FolderWalkTest.cpp
  tests/browser/RecordStoreTest.cpp
  tests/browser/WalkSharingTest.cpp
  tests/platform/LongPathTest.cpp
  tests/sysinfo/DriveTextTest.cpp
  tests/sysinfo/NetworkTextTest.cpp
  tests/sysinfo/ReportTextTest.cpp
  tests/sysinfo/WindowFilterTest.cpp
  tests/ui/LayoutTest.cpp
  tests/ui/ScreenFitTest.cpp
  tests/ui/TreeNodeTest.cpp
)
set(TAMSAEK_TEST_SOURCES
  ${TAMSAEK_PURE_TEST_SOURCES}
  tests/app/EntryGuardTest.cpp
  tests/base/AnsiTextTest.cpp
  tests/base/WideTextTest.cpp
  tests/browser/NavigationTest.cpp
  tests/browser/SearchWindowTest.cpp
  tests/browser/WalkProgressTest.cpp
  tests/platform/DebugOutputSenderTest.cpp
  tests/platform/MonitorFallbacksTest.cpp
  tests/platform/PlatformErrorTest.cpp
  tests/platform/SystemLibraryTest.cpp
  tests/platform/TimeAndDiskTest.cpp
  tests/sysinfo/ProbesTest.cpp
  tests/sysinfo/SysInfoButtonTest.cpp
  tests/sysinfo/SysInfoWindowTest.cpp
  tests/ui/DensityChangeTest.cpp
  tests/ui/FormTest.cpp
  tests/ui/ImageListTest.cpp
  tests/ui/LayoutScaleTest.cpp
  tests/ui/ProgramIconsTest.cpp
)
set(TAMSAEK_HOSTILE_TEST_SOURCES
  tests/support/DebugOutputCapture.cpp
  tests/support/Fixtures.cpp
  tests/support/TestMain.cpp
  tests/hostile/HostileDriveTest.cpp
)
set(TAMSAEK_E2E_SOURCES
  tests/e2e/Driver.cpp
  tests/e2e/Remote.cpp
  tests/e2e/Screenshot.cpp
)
# The stand-in WinINet of the planting test, and the driver that plants it.
set(TAMSAEK_PLANTED_SOURCES tests/e2e/PlantedLibrary.cpp)
set(TAMSAEK_PLANTING_SOURCES
  tests/e2e/Launched.cpp
  tests/e2e/PlantingDriver.cpp
  tests/e2e/Remote.cpp
)
# A start-up stopped from its progress window, every way a user can.
set(TAMSAEK_CANCEL_SOURCES
  tests/e2e/CancelDriver.cpp
  tests/e2e/Launched.cpp
  tests/e2e/Remote.cpp
)
# Both windows in-process, in a prefix set up like a current system.
set(TAMSAEK_WHOLE_WINDOWS_SOURCES
  tests/e2e/WholeWindows.cpp
  tests/e2e/Remote.cpp
  tests/e2e/Screenshot.cpp
  tests/support/LayoutShot.cpp
)
set(TAMSAEK_BENCH_SOURCES benchmark/Benchmark.cpp benchmark/ThreadAccounts.cpp)

set(TAMSAEK_PRODUCT_SOURCES
  ${TAMSAEK_BASE_SOURCES} ${TAMSAEK_PLATFORM_SOURCES} ${TAMSAEK_UI_SOURCES}
  ${TAMSAEK_SYSINFO_SOURCES} ${TAMSAEK_BROWSER_SOURCES} ${TAMSAEK_APP_SOURCES})

foreach(list PRODUCT PURE TEST_SUPPORT PURE_TEST TEST HOSTILE_TEST E2E PLANTED PLANTING CANCEL WHOLE_WINDOWS BENCH)
  list(TRANSFORM TAMSAEK_${list}_SOURCES PREPEND ${TAMSAEK_ROOT}/)
endforeach()
list(TRANSFORM TAMSAEK_MAIN_SOURCE PREPEND ${TAMSAEK_ROOT}/)
