// "About Lapidra": the program's name, its own version and platform, the version record its design
// files carry, and a word on what it does.
#pragma once

#include <QDialog>
#include <string>

class DesignHost;
class QFrame;
class QLabel;
class QPixmap;
class QPushButton;

// The version record every design file carries on its first line, copied into the designs' version
// text. Files rely on it: it stays as the format's files have it, whatever the program's own version.
inline constexpr const char* VersionCaption = "Version: 3.1F May 2002";

// The program's own version and platform, as `lapidraw --version` prints it ("lapidraw 0.1.0 for Linux
// x86_64").
std::string ProgramVersionText();

// The program icon: a round brilliant seen from above, drawn at the given size in pixels.
QPixmap DrawProgramIcon(int size);

class TGemAbout : public QDialog {
    Q_OBJECT
  public:
    explicit TGemAbout(DesignHost& host);

    QFrame* Panel1;      // raised
    QLabel* ProgramIcon; // the program icon
    QLabel* ProductName; // "    LapidraW"
    QLabel* Version;     // "Version: " + ProgramVersionText()
    QLabel* FileVersion; // "Design files: " + VersionCaption
    QLabel* Comments;
    QPushButton* OKButton; // "O&k"
};
