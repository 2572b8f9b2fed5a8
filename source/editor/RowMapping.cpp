#include "RowMapping.h"

#include <algorithm>

namespace
{
bool permutationInUse (const std::vector<int>& order) { return order.size() == (size_t) RowMapping::numRows; }

bool rowShowsTrack (const std::vector<int>& order, const RowMapping::LoadedFlags& loaded, int row)
{
    const auto slot = RowMapping::slotForRow (order, row);
    return slot >= 0 && slot < RowMapping::numRows && loaded[(size_t) slot];
}
} // namespace

int RowMapping::slotForRow (const std::vector<int>& order, int row)
{
    if (permutationInUse (order) && row >= 0 && row < numRows)
        return order[(size_t) row];
    return row;
}

int RowMapping::rowOfSlot (const std::vector<int>& order, int slot)
{
    if (permutationInUse (order))
        for (int r = 0; r < numRows; ++r)
            if (order[(size_t) r] == slot)
                return r;
    return slot;
}

int RowMapping::cycleTarget (const std::vector<int>& order, const LoadedFlags& loaded, int selectedSlot, int delta)
{
    std::vector<int> rows;
    for (int r = 0; r < numRows; ++r)
        if (rowShowsTrack (order, loaded, r))
            rows.push_back (r);
    if (rows.empty())
        return -1;

    const auto size = (int) rows.size();
    const auto found = std::find (rows.begin(), rows.end(), rowOfSlot (order, selectedSlot));
    const auto current = found == rows.end() ? 0 : (int) (found - rows.begin());
    const auto next = ((current + delta) % size + size) % size;
    return slotForRow (order, rows[(size_t) next]);
}

int RowMapping::lanesToShow (const std::vector<int>& order, const LoadedFlags& loaded)
{
    int lanes = 2;
    for (int r = 0; r < numRows; ++r)
        if (rowShowsTrack (order, loaded, r))
            lanes = std::max (lanes, r + 1);
    return lanes;
}

RowMapping::FileSpread RowMapping::spreadFiles (const std::vector<int>& order, const LoadedFlags& loaded,
                                                int numLanes, int numFiles)
{
    int freeRows = 0;
    for (int r = 0; r < numLanes; ++r)
        if (! rowShowsTrack (order, loaded, r))
            ++freeRows;

    FileSpread spread;
    spread.numLanes = numLanes;
    if (numFiles > freeRows)
        spread.numLanes = std::min (numRows, std::max (numLanes, numLanes + numFiles - freeRows));

    for (int r = 0; r < spread.numLanes && (int) spread.targetSlots.size() < numFiles; ++r)
        if (! rowShowsTrack (order, loaded, r))
            spread.targetSlots.push_back (slotForRow (order, r));
    return spread;
}
