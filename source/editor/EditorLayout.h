#pragma once

#include <juce_graphics/juce_graphics.h>

#include <vector>

/** Where the editor's children go, for an editor of a given size and number
    of lanes. Positions come from a design space 1478 units wide: with W the
    editor's width, s = W / 1478 and a length v becomes v * s truncated. */
struct EditorLayout
{
    static constexpr float designWidth = 1478.0f;
    static constexpr int minLanes = 2;
    static constexpr int maxLanes = 10;

    /** The size rule: width 739 x zoom, and a height that grows by 40 x zoom
        per lane beyond two. */
    static int widthFor (float zoom);
    static int heightFor (int numLanes, float zoom);

    static EditorLayout compute (int width, int height, int numLanes);

    float scale = 1.0f;
    /** v in design units, in pixels. */
    int t (float v) const { return (int) (v * scale); }

    juce::Rectangle<int> title;
    float titleFontHeight = 0.0f;
    std::vector<juce::Rectangle<int>> lanes;
    int selectorWidth = 0;
    int boxSize = 0;
    int letterWidth = 0;
    int waveAreaX = 0;
    int waveAreaWidth = 0;
    juce::Rectangle<int> addTrack;
    bool addTrackVisible = false;
    juce::Rectangle<int> countField;
    juce::Rectangle<int> info;
    float infoFontHeight = 0.0f;
    juce::Rectangle<int> prev, next, play, stop;
    juce::Rectangle<int> match, blind, shuffle;
    juce::Rectangle<int> lufsField;
    /** The overlays and panels cover the whole editor. */
    juce::Rectangle<int> whole;
};
