// Text commands: the design's text, the facet data list and the about box.
#include "app/commands.h"

#include "app/command_host.h"
#include "dialogs/about_dialog.h"
#include "dialogs/facet_list_dialog.h"
#include "dialogs/text_editor_dialog.h"

void CopyVersionText(CommandHost& w) {
    w.Design().VersionText = VersionCaption;
    w.Preform().VersionText = VersionCaption;
}

void Edittext1Click(CommandHost& w) {
    w.ShowModal(DialogOf<TForm7>(w));
}

void List1Click(CommandHost& w) {
    w.ShowModal(DialogOf<TForm5>(w));
}

// The list shows the CAM preform while the window shows it.
void camlistClick(CommandHost& w) {
    List1Click(w);
}

void About1Click(CommandHost& w) {
    w.ShowModal(DialogOf<TGemAbout>(w));
}
