// The printer as the print commands use it, free of Qt so that tests can answer its set-up dialog and
// capture what is printed: the set-up dialog, portrait pages, a drawing surface on the page between
// the begin and the end of a job, and a text channel for plain listings.
#pragma once

#include "sheet/draw_surface.h"

#include <string>

class PrinterService {
  public:
    virtual ~PrinterService() = default;

    // The printer set-up dialog for the current printer; false when the user cancelled it.
    virtual bool SetUp() = 0;
    virtual void SetPortrait() = 0;

    // The page of the chosen printer: its metrics hold after SetUp, drawing between BeginJob and
    // EndJob. The reference stays valid until the next SetUp or SetPortrait.
    virtual DrawSurface& Page() = 0;
    // False when the printer cannot be opened.
    virtual bool BeginJob() = 0;
    // Ends the job and sends it to the printer; false when it could not be completed.
    virtual bool EndJob() = 0;

    // The printer as a text file: OpenText answers 0 or the system's I/O error code. In the text, a
    // line feed ends a line (a carriage return is ignored) and a form feed starts a new page.
    virtual int OpenText() = 0;
    virtual void WriteText(const std::string& text) = 0;
    // 0, or the I/O error code when the text could not be printed.
    virtual int CloseText() = 0;
};
