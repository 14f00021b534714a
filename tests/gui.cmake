# The Qt Test programs of the windows: the desktop program's start-up and file commands
# (app/gui), the component grids and choosers (tensor/gui), the view controls (surface/gui).
if(TARGET quillmere_gui)
  quillmere_add_qt_tests(gui_ app/gui)
  quillmere_add_qt_tests(gui_ tensor/gui)
  quillmere_add_qt_tests(view_ surface/gui)
  quillmere_add_qt_tests(gui_ fit/gui)
  quillmere_add_qt_tests(update_ update/gui)
  quillmere_add_qt_tests(gui_ elastic/gui)
endif()
