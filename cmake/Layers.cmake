# The layers of src/, bottom to top. A folder may include only folders of lower floors; folders
# on one floor (separated by commas) do not include each other.
set(KESMARO_LAYERS
    platform
    common
    platform/sim,platform/qt,platform/x11,platform/pulse,platform/win32
    config
    state
    records
    recognition,graph
    measurement,screenshots,gestures
    app
    ui/qt,ui/win32
    tools
)
# Implementations of the seams, and the folders that choose them: a front end (ui/<toolkit>)
# and the tools build the real services; the core below sees only the interfaces.
set(KESMARO_IMPLEMENTATIONS platform/sim platform/qt platform/x11 platform/pulse platform/win32)
set(KESMARO_CHOOSERS ui/qt ui/win32 tools)

# Files written in standard C++ alone (regular expressions over paths under src/): they build
# for every platform, so they include no Qt, X11, xcb, PulseAudio or Windows header. The
# system calls they need sit in *Posix.cpp / *Win32.cpp files, and only a *Win32.cpp file may
# include Windows headers.
set(KESMARO_STD_ONLY_FILES
    "^platform/[^/]+\\.h$"
    "^platform/sim/"
    "^common/"
    "^config/"
    "^state/"
    "^records/"
    "^recognition/"
    "^graph/"
    "^measurement/"
    "^screenshots/"
    "^gestures/"
    "^app/"
)
set(KESMARO_TOOLKIT_HEADERS "^(Q[A-Za-z]*|Qt[A-Za-z]*/.*|X11/.*|xcb/.*|pulse/.*)$")
set(KESMARO_WINDOWS_HEADERS
    "^(windows|winbase|windef|winuser|wingdi|winnt|winerror|objidl|ole2|shellapi|shlobj|commctrl|dinput|mmsystem|io|direct|gdiplus.*|gdiplus/.*)\\.h$")
