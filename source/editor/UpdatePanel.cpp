#include "UpdatePanel.h"

UpdatePanel::UpdatePanel (QuillaneAudioProcessor& processor) : audioProcessor (processor) {}

UpdatePanel::~UpdatePanel() = default;
