#include "ExportPanel.h"

ExportPanel::ExportPanel (QuillaneAudioProcessor& processor) : audioProcessor (processor) {}

ExportPanel::~ExportPanel() = default;
