#pragma once

#include "plugin/PluginEditor.h"
#include "plugin/PluginProcessor.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>

/** A processor prepared at a rate, with its editor open (so it measures) unless asked not to. */
struct PreparedProcessor
{
    explicit PreparedProcessor (double rate = 48000.0, bool withEditor = true, int blockSize = 512)
    {
        processor.setRateAndBufferSizeDetails (rate, blockSize);
        processor.prepareToPlay (rate, blockSize);

        if (withEditor)
            editor.reset (dynamic_cast<OrvantaZeltoMeterAudioProcessorEditor*> (processor.createEditor()));
    }

    ~PreparedProcessor()
    {
        if (editor != nullptr)
            processor.editorBeingDeleted (editor.get());
    }

    void ClickMode (int mode) { processor.engine.buttonClicked (&processor.engine.modeButtons[mode]); }

    OrvantaZeltoMeterAudioProcessor processor;
    std::unique_ptr<OrvantaZeltoMeterAudioProcessorEditor> editor;
};
