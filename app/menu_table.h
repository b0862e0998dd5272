// The main window's menus as one table: each item is one row with its object name, caption, shortcut,
// command and visibility rules; the rules are pure functions of a small state.
#pragma once

#include <span>

class CommandHost;

// The state of the design and the window that menu visibility depends on.
struct MenuState {
    bool Initial = false;     // start-up: no design made or opened yet
    bool Rotating = false;    // the free rotation runs
    bool Modifying = false;   // a facet group is being replaced
    bool CutFacets = false;   // the design has cut facets
    bool Crown = false;       // a crown design (else a pavilion)
    bool OutlineFile = false; // the design's girdle outline file exists
    bool AllGirdle = false;   // every cut facet is a girdle facet
    bool GirdleFacet = false; // some cut facet is a girdle facet
    bool CanUndo = false;
    bool CanRedo = false;
    bool PreformShown = false; // the window shows the CAM preform
    // Commands that must not run during the free rotation or a facet-group replacement are off.
    bool Enabled() const { return !Rotating && !Modifying; }
};

// What an item needs to be visible: all flags of a rule must hold; Never hides it for good.
namespace Need {
enum Flag : unsigned {
    Always = 0,
    Never = 1u << 0,
    Enabled = 1u << 1,     // MenuState::Enabled
    NotRotating = 1u << 2, // no free rotation
    NotModifying = 1u << 3,
    CutFacets = 1u << 4,
    Crown = 1u << 5,
    Pavilion = 1u << 6,
    OutlineFile = 1u << 7,
    NotAllGirdle = 1u << 8,
    GirdleFacet = 1u << 9,
    CanUndo = 1u << 10,
    CanRedo = 1u << 11,
};
} // namespace Need

// How an item fares while the CAM preform is shown.
enum class DuringPreform { ByRule, Hidden, Shown };

enum class MenuKind { Menu, Item, Separator, RecentFiles };

using Command = void (*)(CommandHost&);

struct MenuRow {
    MenuKind Kind;
    const char* ObjectName; // as the program names its menu items, e.g. "Changetable1"
    const char* Parent;     // object name of the menu it is in; nullptr: the menu bar
    const char* Caption;    // with its "&"
    const char* Shortcut;   // "" for none
    Command Run;            // nullptr: the item has no command
    unsigned Initial;       // Need flags at start-up
    unsigned Normal;        // Need flags after every change
    DuringPreform Preform = DuringPreform::ByRule;
    bool Checkable = false;
    bool Checked = false; // the check mark at start-up
};

// Every menu and item of the main window, in menu order.
std::span<const MenuRow> MenuRows();
// The row of an object name; nullptr when there is none.
const MenuRow* FindMenuRow(const char* objectName);

// Whether the row's item shows in the given state. The recent-files submenu follows its list and is
// never decided here (answers true).
bool Visible(const MenuRow& row, const MenuState& state);
