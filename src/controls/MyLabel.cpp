#include "MyLabel.h"

juce::TextEditor* MyLabel::createEditorComponent()
{
    auto* editor = juce::Label::createEditorComponent();
    editor->setSelectAllWhenFocused (true);
    return editor;
}

void MyLabel::editorShown (juce::TextEditor*) {}
void MyLabel::editorAboutToBeHidden (juce::TextEditor*) {}
