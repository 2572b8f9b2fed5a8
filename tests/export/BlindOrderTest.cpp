#include "export/BlindOrder.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace
{
std::array<bool, 10> loadedSet (std::initializer_list<int> slots)
{
    std::array<bool, 10> loaded {};
    for (auto s : slots)
        loaded[(size_t) s] = true;
    return loaded;
}
} // namespace

TEST (BlindOrder, EmptyRowsStayAndLoadedRowsGetLoadedSlots)
{
    const std::vector<std::array<bool, 10>> patterns {
        loadedSet ({}), loadedSet ({ 3 }), loadedSet ({ 0, 1, 4 }), loadedSet ({ 9, 0 }),
        loadedSet ({ 0, 1, 2, 3, 4, 5, 6, 7, 8, 9 }),
    };
    for (size_t p = 0; p < patterns.size(); ++p)
    {
        for (juce::int64 seed = 1; seed <= 200; ++seed)
        {
            juce::Random random (seed);
            const auto order = BlindOrder::makeBlindPermutation (patterns[p], random);
            std::set<int> seen;
            for (int row = 0; row < 10; ++row)
            {
                const auto slot = order[(size_t) row];
                seen.insert (slot);
                if (! patterns[p][(size_t) row])
                    EXPECT_EQ (slot, row) << "pattern " << p << " seed " << seed;
                else
                    EXPECT_TRUE (patterns[p][(size_t) slot]) << "pattern " << p << " seed " << seed;
            }
            EXPECT_EQ (seen.size(), 10u) << "pattern " << p << " seed " << seed;
        }
    }
}

TEST (BlindOrder, DrawsFromTheLastPositionDownWithNextInt)
{
    // Loaded slots 0, 1 and 4: the shuffle draws nextInt (3), then nextInt (2).
    for (juce::int64 seed = 1; seed <= 50; ++seed)
    {
        juce::Random draws (seed);
        std::array<int, 3> s { 0, 1, 4 };
        const auto j2 = draws.nextInt (3);
        std::swap (s[2], s[(size_t) j2]);
        const auto j1 = draws.nextInt (2);
        std::swap (s[1], s[(size_t) j1]);

        juce::Random random (seed);
        const auto order = BlindOrder::makeBlindPermutation (loadedSet ({ 0, 1, 4 }), random);
        EXPECT_EQ (order[0], s[0]);
        EXPECT_EQ (order[1], s[1]);
        EXPECT_EQ (order[4], s[2]);
    }
}

TEST (BlindOrder, EveryArrangementOfThreeTracksComesUp)
{
    std::map<std::array<int, 10>, int> counts;
    juce::Random random (42);
    constexpr int draws = 6000;
    for (int i = 0; i < draws; ++i)
        ++counts[BlindOrder::makeBlindPermutation (loadedSet ({ 2, 5, 7 }), random)];

    EXPECT_EQ (counts.size(), 6u);
    for (const auto& [order, count] : counts)
    {
        EXPECT_GT (count, draws / 6 - 200);
        EXPECT_LT (count, draws / 6 + 200);
    }
}
