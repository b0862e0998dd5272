// Text commands: the design's text, the facet data list and the about box.
#include "app/commands.h"

#include "app/unit1.h"
#include "dialogs/PgemaboutUnit19.h"
#include "dialogs/Unit5.h"
#include "dialogs/Unit7.h"

void CopyVersionText(Tstartform& w) {
    w.Design().VersionText = VersionCaption;
    w.Preform().VersionText = VersionCaption;
}

void Edittext1Click(Tstartform& w) {
    w.ShowModal(DialogOf<TForm7>(w));
}

void List1Click(Tstartform& w) {
    w.ShowModal(DialogOf<TForm5>(w));
}

// The list shows the CAM preform while the window shows it.
void camlistClick(Tstartform& w) {
    List1Click(w);
}

void About1Click(Tstartform& w) {
    w.ShowModal(DialogOf<TGemAbout>(w));
}
