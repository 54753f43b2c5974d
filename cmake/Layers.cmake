# The layers of src/, bottom to top. A folder may include only folders of lower floors; folders
# on one floor (separated by commas) do not include each other.
set(KESMARO_LAYERS
    platform
    common
    platform/sim,platform/qt,platform/x11,platform/pulse
    config
    state
    records
    recognition,graph
    measurement,screenshots,gestures
    app
    tools
)
# Implementations of the seams, and the folders that choose them.
set(KESMARO_IMPLEMENTATIONS platform/sim platform/qt platform/x11 platform/pulse)
set(KESMARO_CHOOSERS app tools)
