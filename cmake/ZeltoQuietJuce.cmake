# JUCE's module sources are compiled inside our targets; their warnings are JUCE's, not ours,
# and would bury our own. Source properties are per directory, so each directory that builds
# JUCE's modules includes this file.
file(GLOB ZELTO_JUCE_MODULE_SOURCES "${JUCE_MODULES_DIR}/*/juce_*.cpp" "${JUCE_MODULES_DIR}/*/juce_*.mm")
set_source_files_properties(${ZELTO_JUCE_MODULE_SOURCES} PROPERTIES COMPILE_OPTIONS "-w")
