#pragma once

#include <juce_core/juce_core.h>

#include <array>

/** The row-to-slot permutation of a blind test, as a pure function so that
    the editor and the command-line export draw it the same way. */
struct BlindOrder
{
    static constexpr int numRows = 10;

    /** Rows of empty slots map to themselves; the rows of the loaded slots get
        those slots in an order drawn by a Fisher-Yates shuffle on random. */
    static std::array<int, numRows> makeBlindPermutation (const std::array<bool, numRows>& loaded,
                                                          juce::Random& random);
};
