# Every source of the plug-in library, compiled once.
set(ZELTO_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/../maker/AudioProcessorOrvanta.cpp
    ${CMAKE_CURRENT_LIST_DIR}/../maker/OrvantaLookAndFeel.cpp
    ${CMAKE_CURRENT_LIST_DIR}/../maker/SettingsDocument.cpp
    ${CMAKE_CURRENT_LIST_DIR}/../meter/AmplitudeHistogram.cpp
    ${CMAKE_CURRENT_LIST_DIR}/../meter/BpmCountView.cpp
    ${CMAKE_CURRENT_LIST_DIR}/../meter/ReferenceCountedBuffer.cpp
    ${CMAKE_CURRENT_LIST_DIR}/../meter/SpectrumView.cpp
    ${CMAKE_CURRENT_LIST_DIR}/../meter/ViewPainter.cpp
    ${CMAKE_CURRENT_LIST_DIR}/../meter/VuMeter.cpp
    ${CMAKE_CURRENT_LIST_DIR}/../meter/ZeltoMeter.cpp
    ${CMAKE_CURRENT_LIST_DIR}/../plugin/PluginProcessor.cpp
    ${CMAKE_CURRENT_LIST_DIR}/../plugin/PluginEditor.cpp)
