// A small stand-in for the main window, for driving one dialog without app/: it holds a design, the
// scripted services and the display state, counts repaints and menu refreshes, records click requests
// and hands out scripted clicks. Its changes go through the window's own change runner.
#pragma once

#include "dialogs/design_host.h"
#include "dialogs/dialog_set.h"
#include "tests/ui/scripted_services.h"

#include <QWidget>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class FakeHost final : public DesignHost, public ChangeView {
  public:
    FakeHost();
    ~FakeHost() override;

    // ---- Script and record ----
    ScriptedServices Script;
    std::unique_ptr<TGem> Gem = std::make_unique<TGem>();
    std::unique_ptr<TGem> PreformGem = std::make_unique<TGem>();
    DisplayState Shown;
    std::string File;
    int Repaints = 0, MenuRefreshes = 0, Finished = 0, Cancelled = 0, OutlineToggles = 0;
    struct Request {
        const QDialog* Requester;
        ClickKind Kind;
        std::string Prompt;
    };
    std::vector<Request> Requests;
    std::optional<SheetClick> NextClick; // handed to the next TakeClick of the last requester
    int TextWidth = 600;

    // ---- DesignHost ----
    TGem& Design() override { return *Gem; }
    TGem& Preform() override { return *PreformGem; }
    const Services& Svc() override { return Script.All(); }
    DisplayState& Display() override { return Shown; }
    std::string DesignFile() override { return File; }
    void SetDesignFile(const std::string& path) override { File = path; }
    int TextLinesWidth() override { return TextWidth; }
    QWidget* DialogParent() override { return &Parent; }
    DialogSet& Dialogs() override { return *DialogObjects; }
    bool ShowModal(QDialog& dialog) override;
    void Repaint() override {
        ++Repaints;
        TellFollowers();
    }
    void RefreshMenus() override { ++MenuRefreshes; }
    void FocusWindow() override {}
    void ToggleOutline() override { ++OutlineToggles; }
    ChangeRunner& Changes() override { return Runner; }
    bool Finish(QDialog& dialog, const DesignChange& change = nullptr) override;
    void CancelPreview(QDialog& dialog) override;
    const TGem* PartnerHalf() override { return Partner.get(); }
    std::unique_ptr<TGem> Partner; // the open design's other half, when a test gives one
    // ---- ChangeView ----
    void ShowStep(const std::string&) override {}
    void ShowUndoRedo() override {}
    void RequestClick(QDialog& requester, ClickKind kind, const std::string& prompt) override;
    std::optional<SheetClick> TakeClick(const QDialog& requester) override;

  private:
    ChangeRunner Runner{*this, Script, Script};
    QWidget Parent;
    std::unique_ptr<DialogSet> DialogObjects = std::make_unique<DialogSet>();
};
