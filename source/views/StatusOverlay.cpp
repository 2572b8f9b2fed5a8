#include "StatusOverlay.h"

StatusOverlay::StatusOverlay (QuillaneAudioProcessor& processor) : audioProcessor (processor) {}

StatusOverlay::~StatusOverlay() = default;
