#pragma once
// Editing the model's lists in place. Event List rows always mirror the
// current action's records 1..EventCount in order; Action List rows may be
// sorted, so action operations report how record numbers changed and the
// window renumbers the rows' captions from that.
#include <string>
#include <vector>

#include "model/actions.h"
#include "model/events.h"

// Stores an encoded event as the next record of the current action.
// False when there is no current action or it already holds 500 events.
bool AppendEvent(ConfigModel& m, EventKind kind, const Encoded& e);

// Swaps event `row` (1-based) of the current action with its neighbour;
// the new row of the moved event, or `row` when it cannot move.
int MoveEvent(ConfigModel& m, int row, bool up);

// Removes event `row` of the current action, shifting the later ones down.
bool DeleteEvent(ConfigModel& m, int row);

// The Event List's "Clear All": empties the current action's events.
void ClearEvents(ConfigModel& m);

// New number of each old action record: Renumbered[old] is the new
// number, 0 for a removed one; index 0 unused.
struct Renumbering {
  std::vector<int> NewNumber;
};

// Removes action record n, shifting the later ones down.
Renumbering DeleteAction(ConfigModel& m, int n);

// Removes every action without events. The current action follows its
// record, or becomes 0 when it was removed.
Renumbering DeleteEmptyActions(ConfigModel& m);

// The Action List's "Clear All": no actions, no current action. Records
// keep their old events, which count for nothing once EventCount is 0.
void ClearAllActions(ConfigModel& m);
