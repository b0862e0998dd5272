// The dialogs of one main window: each made once, on first use, and kept until the window goes.
#pragma once

#include "dialogs/design_host.h"

#include <QDialog>
#include <map>
#include <memory>
#include <typeindex>

class DialogSet {
  public:
    // The window's dialog of type T, made on first use with the host (T(DesignHost&)).
    template <class T> T& Get(DesignHost& host) {
        std::unique_ptr<QDialog>& slot = Dialogs[std::type_index(typeid(T))];
        if (!slot) slot = std::make_unique<T>(host);
        return static_cast<T&>(*slot);
    }
    // The dialog of type T when it has been made, else null.
    template <class T> T* Find() const {
        const auto found = Dialogs.find(std::type_index(typeid(T)));
        return found == Dialogs.end() ? nullptr : static_cast<T*>(found->second.get());
    }

  private:
    std::map<std::type_index, std::unique_ptr<QDialog>> Dialogs;
};

// The host's dialog of type T.
template <class T> T& DialogOf(DesignHost& host) {
    return host.Dialogs().Get<T>(host);
}
