#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** A knob's value box. Its editor selects the whole text when it opens, so
    typing replaces the value; opening and closing the editor tells no one. */
class MyLabel  : public juce::Label
{
public:
    using juce::Label::Label;

protected:
    juce::TextEditor* createEditorComponent() override;
    void editorShown (juce::TextEditor*) override;
    void editorAboutToBeHidden (juce::TextEditor*) override;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (MyLabel)
};
