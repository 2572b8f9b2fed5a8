#include "DecodePanel.h"

DecodePanel::DecodePanel (QuillaneAudioProcessor& processor) : audioProcessor (processor) {}

DecodePanel::~DecodePanel() = default;
