#include "dialogs/design_host.h"

#include <QDialog>
#include <algorithm>

bool DesignHost::Finish(QDialog& dialog, const DesignChange& change) {
    // The click markers go with the dialog; a refused or failed change keeps them for another try.
    const PickMarkers shown = Display().Markers;
    Display().Markers.HideAll();
    if (!Changes().Commit(change)) {
        Display().Markers = shown;
        return false;
    }
    dialog.accept();
    FocusWindow();
    return true;
}

void DesignHost::CancelPreview(QDialog& dialog) {
    Changes().Revert();
    dialog.reject();
}

void DesignHost::FollowDesign(QObject& follower, std::function<void()> changed) {
    Followers.push_back({&follower, std::move(changed)});
}

void DesignHost::TellFollowers() {
    std::erase_if(Followers, [](const Follower& f) { return f.Watcher.isNull(); });
    // A follower may add another while it is told: tell those already following.
    const std::vector<Follower> now = Followers;
    for (const Follower& f : now)
        if (!f.Watcher.isNull()) f.Changed();
}
