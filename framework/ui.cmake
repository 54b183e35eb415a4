# The dialog half of the framework, over Qt Widgets. Qt is included only by
# the sources listed here; the public headers the program includes are free
# of it.
find_package(Qt6 REQUIRED COMPONENTS Widgets)

add_library(kelm_framework_ui STATIC
  AfxMessageBox.cpp
  AfxWinTypes.cpp
  CButton.cpp
  CCmdTarget.cpp
  CComboBox.cpp
  CDataExchange.cpp
  CDialog.cpp
  CEdit.cpp
  CListBox.cpp
  CMenu.cpp
  CPaintDC.cpp
  CSpinButtonCtrl.cpp
  CStatic.cpp
  CWaitCursor.cpp
  CWinApp.cpp
  CWnd.cpp
  ui/ControlOps.cpp
  ui/DialogBuilder.cpp
  ui/DialogWindow.cpp
  ui/ListControl.cpp
  ui/MessageBoxes.cpp
  ui/MessageDispatcher.cpp
  ui/QtBridge.cpp
  ui/RadioControl.cpp
  ui/StaticControl.cpp
  ui/TestHooks.cpp
  ui/UpDownControl.cpp
  ui/WaitCursorState.cpp
  ui/WindowRegistry.cpp
)
target_link_libraries(kelm_framework_ui
  PUBLIC kelm_options kelm_framework_core kelm_res
  PRIVATE Qt6::Widgets)

# The program's entry point; tests have their own.
add_library(kelm_framework_main STATIC AfxMain.cpp)
target_link_libraries(kelm_framework_main PUBLIC kelm_framework_ui PRIVATE kelm_options Qt6::Widgets)

if(KELM_BUILD_TESTS)
  find_package(Qt6 REQUIRED COMPONENTS Test)
  find_package(GTest REQUIRED)
  # The user-like actions of framework/TestSeams.h, for test executables.
  add_library(kelm_framework_testing STATIC testing/AfxTestActions.cpp)
  target_link_libraries(kelm_framework_testing
    PUBLIC kelm_framework_ui
    PRIVATE kelm_options Qt6::Widgets Qt6::Test)

  # Linked as objects so that its global test environment registers itself:
  # test mode on and the window system started before the first test.
  add_library(kelm_framework_testmain OBJECT testing/AfxTestEnvironment.cpp)
  target_link_libraries(kelm_framework_testmain
    PUBLIC kelm_framework_testing
    PRIVATE kelm_options GTest::gtest)
endif()
