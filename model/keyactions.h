#pragma once
// What the key-action dialogs do to the model, apart from their widgets.
#include <string>

#include "model/actions.h"
#include "model/variant.h"

enum class AddActionOutcome {
  Added,        // a new record and row; it is now the current action
  Duplicate,    // the key already has an action of that kind: nothing added
  IllegalKind,  // a typed kind with no action code, or no group: "Data is not legal"
  Full,         // all 100 records in use: "Action List is full"
};

// "Add" of the key dialogs: key 1..9 (TForm2) or 10 (TForm12), the kind
// combo's text and the group combo's index (ignored for key 10).
AddActionOutcome AddKeyAction(ConfigModel& m, const Variant& v, int key, const std::string& kind, int groupIndex);
