// Treopen: the recent-files list behind the "&Reopen" submenu, and the last folders of the file dialogs,
// both kept in the per-user settings store.
#pragma once

#include "services/services.h"

#include <string>
#include <vector>

class QAction;
class QMenu;

class Treopen {
  public:
    static constexpr int SlotCount = 5;
    inline static const std::string KeyName = "Lapidrastor";

    // Reads "file1" ... "file5" of section "Reopen" (empty values included) and "dir" of "lastdir".
    // menu is the "&Reopen" submenu whose first SlotCount actions are the slots.
    Treopen(QMenu& menu, SettingsStore& store);
    // Writes the list back to section "Reopen" and LastDir to "lastdir".
    ~Treopen();
    Treopen(const Treopen&) = delete;
    Treopen& operator=(const Treopen&) = delete;

    // Puts name at the front (removing an equal name, whatever its case); an empty name drops the
    // first entry.
    void Add(const std::string& name);
    // Takes name out of the list.
    void Remove(const std::string& name);
    void SetFolder(const std::string& key, const std::string& folder);
    std::string GetFolder(const std::string& key);

    // Shows the first SlotCount non-empty entries as "&n entry" in the slots; hides the other slots.
    void RebuildMenu();
    // The file named by a slot's caption: the caption without its "&n " prefix.
    static std::string FileOfCaption(const std::string& caption);

    std::vector<std::string> Files; // most recent first; may hold empty entries read from the store
    std::string LastDir;            // folder of the most recently added file, with its separator

  private:
    SettingsStore& Store;
    QMenu& Menu;
    std::vector<QAction*> Slots;
};
