#include "EditorLayout.h"

int EditorLayout::widthFor (float zoom)
{
    return juce::roundToInt (739.0f * zoom);
}

int EditorLayout::heightFor (int numLanes, float zoom)
{
    const auto grown = (int) ((float) (298 + juce::jmax (80 * numLanes, 158)) * 0.5f * zoom);
    return juce::jmax (grown, juce::roundToInt (240.0f * zoom));
}

EditorLayout EditorLayout::compute (int width, int height, int numLanes)
{
    EditorLayout l;
    l.scale = (float) width / designWidth;
    const auto t = [&l] (float v) { return l.t (v); };

    l.whole = { 0, 0, width, height };
    l.titleFontHeight = 41.5f * l.scale;
    l.title = { width - t (42) - t (520), t (42), t (520), t (50) };

    l.selectorWidth = t (16) + t (58) + t (50);
    l.boxSize = t (58);
    l.letterWidth = t (50);
    const auto laneStep = t (58) + t (22);
    for (int i = 0; i < numLanes; ++i)
        l.lanes.emplace_back (t (87), t (199) + i * laneStep, t (900) + t (16) + t (58) + t (50), t (58));

    l.waveAreaX = t (87) + t (16) + t (58) + t (50);
    l.waveAreaWidth = t (900);

    const auto nextLaneY = t (199) + numLanes * laneStep;
    const auto addY = nextLaneY + (t (58) - t (29)) / 2;
    l.addTrack = { t (87), addY, t (58), t (29) };
    l.countField = { t (87) + t (58), addY, t (50), t (29) };
    l.addTrackVisible = numLanes < maxLanes;

    l.info = { t (12), height / 2, width - 2 * t (12), height / 2 - t (12) };
    l.infoFontHeight = (float) t (36);

    const auto prevX = t (87) + (t (58) - (t (10) + 2 * t (29))) / 2;
    l.prev = { prevX, t (132), t (29), t (29) };
    l.next = { prevX + t (29) + t (10), t (132), t (29), t (29) };

    const auto playWidth = juce::roundToInt ((float) (t (29) + 4) * 0.866025388f);
    const auto halfPair = (t (29) + t (10) + playWidth + 6) / 2;
    l.play = { width / 2 - halfPair, t (132) - 2, playWidth, t (29) + 4 };
    l.stop = { l.play.getX() + playWidth + t (10) + 6, t (132), t (29), t (29) };

    const auto columnX = width - (t (87) + t (58));
    l.match = { columnX, t (212), t (58), t (29) };
    l.blind = { columnX, t (212) + t (80), t (58), t (29) };
    l.shuffle = { columnX, t (212) + 2 * t (80), t (58), t (29) };

    l.lufsField = { l.match.getX() + l.match.getWidth() / 2 - t (80), t (132), t (160), t (29) };
    return l;
}
