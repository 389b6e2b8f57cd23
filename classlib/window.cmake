# Window half of the class library (Windows only): application and threads, windows and message
# maps, dialogs and data exchange, GDI, controls, common dialogs, automation.
add_library(classlib_window STATIC
  CBitmap.cpp
  CBrush.cpp
  CButton.cpp
  CCmdTarget.cpp
  CDataExchange.cpp
  CDC.cpp
  CDialog.cpp
  CEdit.cpp
  CFileDialog.cpp
  CFont.cpp
  CGdiObject.cpp
  CImageList.cpp
  CMenu.cpp
  COleDispatchDriver.cpp
  COleDispatchException.cpp
  COleException.cpp
  CProgressCtrl.cpp
  CRgn.cpp
  CStatic.cpp
  CToolTipCtrl.cpp
  CTreeCtrl.cpp
  CWaitCursor.cpp
  CWinApp.cpp
  CWinThread.cpp
  CWnd.cpp
  CWndForwarders.cpp
  WindowThreadCall.cpp
  WindowThreadCheck.cpp
  WindowThreadState.cpp
)
target_link_libraries(classlib_window PUBLIC classlib_core user32 gdi32 comctl32 comdlg32 msimg32 ole32
                      oleaut32 uuid shell32 shlwapi)
# A program that uses the library's entry (wWinMain) links with -municode (and -mwindows).

# The same library with the window-thread check of CWnd::SetTimer / KillTimer switched on
# (WindowThreadCheck.h): the tests link this one, the shipped program the one above.
add_library(classlib_window_checked INTERFACE)
target_link_libraries(classlib_window_checked INTERFACE classlib_window)
target_sources(classlib_window_checked INTERFACE ${CMAKE_CURRENT_LIST_DIR}/WindowThreadCheckOn.cpp)
target_compile_definitions(classlib_window_checked INTERFACE QM_CHECK_WINDOW_THREAD=1)
