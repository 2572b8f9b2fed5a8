#include "BlindOrder.h"

#include <vector>

std::array<int, BlindOrder::numRows> BlindOrder::makeBlindPermutation (const std::array<bool, numRows>& loaded,
                                                                       juce::Random& random)
{
    std::array<int, numRows> order {};
    std::vector<int> loadedSlots;
    for (int i = 0; i < numRows; ++i)
    {
        order[(size_t) i] = i;
        if (loaded[(size_t) i])
            loadedSlots.push_back (i);
    }

    auto shuffled = loadedSlots;
    for (auto i = (int) shuffled.size() - 1; i >= 1; --i)
        std::swap (shuffled[(size_t) i], shuffled[(size_t) random.nextInt (i + 1)]);

    for (size_t m = 0; m < loadedSlots.size(); ++m)
        order[(size_t) loadedSlots[m]] = shuffled[m];
    return order;
}
