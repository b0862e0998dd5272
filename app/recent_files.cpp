#include "app/recent_files.h"

#include "app/file_questions.h"

#include <QAction>
#include <QMenu>
#include <QString>

namespace {
constexpr const char* ReopenSection = "Reopen";
constexpr const char* FolderSection = "lastdir";
constexpr std::size_t CaptionPrefixLength = 3; // "&n "

std::string SlotValueName(std::size_t number) {
    return "file" + std::to_string(number);
}

bool SameFileName(const std::string& a, const std::string& b) {
    return QString::fromStdString(a).compare(QString::fromStdString(b), Qt::CaseInsensitive) == 0;
}
} // namespace

Treopen::Treopen(QMenu& menu, SettingsStore& store) : Store(store), Menu(menu) {
    const auto actions = Menu.actions();
    for (int i = 0; i < actions.size() && i < SlotCount; ++i)
        Slots.push_back(actions[i]);
    for (std::size_t i = 1; i <= Slots.size(); ++i)
        Files.push_back(Store.ReadString(ReopenSection, SlotValueName(i), ""));
    LastDir = Store.ReadString(FolderSection, "dir", "");
    RebuildMenu();
}

Treopen::~Treopen() {
    std::size_t written = 0;
    for (const auto& name : Files) {
        if (written == SlotCount) break;
        Store.WriteString(ReopenSection, SlotValueName(++written), name);
    }
    while (written < SlotCount)
        Store.WriteString(ReopenSection, SlotValueName(++written), "");
    Store.WriteString(FolderSection, "dir", LastDir);
}

void Treopen::RebuildMenu() {
    std::size_t slot = 0;
    for (const auto& name : Files) {
        if (slot == Slots.size()) break;
        if (name.empty()) continue;
        // A "&" of the file name is doubled so that the menu shows it instead of underlining.
        const QString shown = QString::fromStdString(name).replace("&", "&&");
        Slots[slot]->setText(QString("&%1 %2").arg(slot + 1).arg(shown));
        Slots[slot]->setVisible(true);
        Menu.menuAction()->setVisible(true);
        ++slot;
    }
    for (; slot < Slots.size(); ++slot)
        Slots[slot]->setVisible(false);
}

std::string Treopen::FileOfCaption(const std::string& caption) {
    if (caption.size() <= CaptionPrefixLength) return {};
    return QString::fromStdString(caption.substr(CaptionPrefixLength)).replace("&&", "&").toStdString();
}

void Treopen::Add(const std::string& name) {
    if (name.empty()) {
        if (!Files.empty()) Files.erase(Files.begin());
    } else {
        std::erase_if(Files, [&](const std::string& entry) { return SameFileName(entry, name); });
        Files.insert(Files.begin(), name);
        LastDir = FolderOf(name);
    }
    RebuildMenu();
}

void Treopen::Remove(const std::string& name) {
    Add(name);
    Add("");
}

void Treopen::SetFolder(const std::string& key, const std::string& folder) {
    Store.WriteString(FolderSection, key, folder);
}

std::string Treopen::GetFolder(const std::string& key) {
    return Store.ReadString(FolderSection, key, "");
}
