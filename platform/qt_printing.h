// The printer on Qt Print Support: the system's printers (CUPS) chosen in the print dialog, or, when
// none is installed, the dialog's print to a PDF file. Without a dialog it prints to a named printer or
// to a PDF file, as lapidraw-tool and the printing tests do.
#pragma once

#include "platform/qt_surfaces.h"
#include "services/printing.h"

#include <QPageSize>
#include <QPrinter>
#include <QString>

#include <memory>

class QPainter;
class QWidget;

class QtPrinterService final : public PrinterService {
  public:
    // The default printer, set up in the print dialog shown over dialogParent.
    explicit QtPrinterService(QWidget* dialogParent = nullptr);
    ~QtPrinterService() override;
    // A system printer chosen by name: SetUp answers at once.
    static std::unique_ptr<QtPrinterService> Named(const QString& printerName);
    // A PDF file of the given paper: SetUp answers at once.
    static std::unique_ptr<QtPrinterService> PdfFile(const QString& path, QPageSize::PageSizeId paper);

    QPrinter& Printer() { return printer_; }
    // The window the print dialog is shown over.
    void SetDialogParent(QWidget* parent) { dialogParent_ = parent; }

    bool SetUp() override;
    void SetPortrait() override;
    DrawSurface& Page() override;
    bool BeginJob() override;
    bool EndJob() override;
    int OpenText() override;
    void WriteText(const std::string& text) override;
    int CloseText() override;

  private:
    explicit QtPrinterService(bool interactive, QWidget* dialogParent);
    void PrintText(QPainter& painter);

    bool interactive_;
    QWidget* dialogParent_;
    QPrinter printer_{QPrinter::HighResolution};
    std::unique_ptr<PrinterSurface> page_;
    std::unique_ptr<QPainter> textPainter_;
    std::string text_;
};

// The printer names of the system; empty when none is installed.
QStringList SystemPrinterNames();
