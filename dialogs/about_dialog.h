// "About Lapidra": the program's name, version and a word on what it does. Its version caption is also
// the version text that every design file carries on its first line.
#pragma once

#include <QDialog>

class DesignHost;
class QFrame;
class QLabel;
class QPixmap;
class QPushButton;

// The caption of the about box's version label, copied into the designs' version text.
inline constexpr const char* VersionCaption = "Version: 3.1F May 2002";

// The program icon: a round brilliant seen from above, drawn at the given size in pixels.
QPixmap DrawProgramIcon(int size);

class TGemAbout : public QDialog {
    Q_OBJECT
  public:
    explicit TGemAbout(DesignHost& host);

    QFrame* Panel1;      // raised
    QLabel* ProgramIcon; // the program icon
    QLabel* ProductName; // "    LapidraW"
    QLabel* Version;     // VersionCaption
    QLabel* Comments;
    QPushButton* OKButton; // "O&k"
};
