#pragma once

#include <array>
#include <vector>

/** Rows (the letters A to J) and the slots behind them, as pure functions of
    the row-to-slot permutation and the slots' loaded flags. A permutation is
    in use only while it holds ten entries; otherwise row r shows slot r. */
struct RowMapping
{
    static constexpr int numRows = 10;
    using LoadedFlags = std::array<bool, numRows>;

    /** The slot behind a row. */
    static int slotForRow (const std::vector<int>& order, int row);

    /** The first row showing slot, or slot itself without a permutation or
        when no row shows it. */
    static int rowOfSlot (const std::vector<int>& order, int slot);

    /** The slot to select when stepping delta rows from the selected slot's
        row over the rows that show a track, wrapping around; -1 when no row
        shows a track. */
    static int cycleTarget (const std::vector<int>& order, const LoadedFlags& loaded, int selectedSlot, int delta);

    /** Lanes a new editor needs: up to the lowest row below which no loaded
        track is shown, at least two. */
    static int lanesToShow (const std::vector<int>& order, const LoadedFlags& loaded);

    /** Where several chosen files go: the number of lanes afterwards (lanes
        added only for files that find no free row, ten at most), and the slot
        each file is loaded into, in order; files beyond the last free row get
        no slot. */
    struct FileSpread
    {
        int numLanes = 0;
        std::vector<int> targetSlots;
    };
    static FileSpread spreadFiles (const std::vector<int>& order, const LoadedFlags& loaded, int numLanes,
                                   int numFiles);
};
