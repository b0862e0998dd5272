#include "platform/qt_printing.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinterInfo>

#include <algorithm>
#include <cerrno>
#include <vector>

namespace {
constexpr qreal ListingPointSize = 10; // largest size of the listing's monospaced font
const QString DocumentName = QStringLiteral("LapidraW");

using TextPage = std::vector<QString>;

// The text's pages (split at form feeds) and their lines (split at line feeds, carriage returns
// dropped).
std::vector<TextPage> PagesOf(const std::string& text) {
    std::vector<TextPage> pages(1);
    QString line;
    for (const QChar c : QString::fromUtf8(text.data(), qsizetype(text.size()))) {
        if (c == QChar('\r')) continue;
        if (c == QChar('\n')) {
            pages.back().push_back(line);
            line.clear();
        } else if (c == QChar('\f')) {
            pages.back().push_back(line);
            line.clear();
            pages.emplace_back();
        } else {
            line += c;
        }
    }
    if (!line.isEmpty()) pages.back().push_back(line);
    return pages;
}

// A monospaced font no larger than ListingPointSize in which the widest line and the longest page fit
// the printable area.
QFont ListingFont(const std::vector<TextPage>& pages, QPaintDevice& device) {
    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setPointSizeF(ListingPointSize);
    qsizetype columns = 1, rows = 1;
    for (const TextPage& page : pages) {
        rows = std::max<qsizetype>(rows, qsizetype(page.size()));
        for (const QString& line : page)
            columns = std::max(columns, line.size());
    }
    const QFontMetricsF metrics(font, &device);
    const qreal scale = std::min({1.0, device.width() / (columns * metrics.horizontalAdvance(QChar('M'))),
                                  device.height() / (rows * metrics.lineSpacing())});
    font.setPointSizeF(ListingPointSize * scale);
    return font;
}

int IoErrorCode() {
    return errno != 0 ? errno : EIO;
}
} // namespace

QStringList SystemPrinterNames() {
    return QPrinterInfo::availablePrinterNames();
}

QtPrinterService::QtPrinterService(QWidget* dialogParent) : QtPrinterService(true, dialogParent) {}

QtPrinterService::QtPrinterService(bool interactive, QWidget* dialogParent)
    : interactive_(interactive), dialogParent_(dialogParent) {
    printer_.setDocName(DocumentName);
}

QtPrinterService::~QtPrinterService() {
    if (textPainter_ && textPainter_->isActive()) textPainter_->end();
}

std::unique_ptr<QtPrinterService> QtPrinterService::Named(const QString& printerName) {
    std::unique_ptr<QtPrinterService> service(new QtPrinterService(false, nullptr));
    service->printer_.setPrinterName(printerName);
    return service;
}

std::unique_ptr<QtPrinterService> QtPrinterService::PdfFile(const QString& path,
                                                            QPageSize::PageSizeId paper) {
    std::unique_ptr<QtPrinterService> service(new QtPrinterService(false, nullptr));
    service->printer_.setOutputFormat(QPrinter::PdfFormat);
    service->printer_.setOutputFileName(path);
    service->printer_.setPageSize(QPageSize(paper));
    return service;
}

bool QtPrinterService::SetUp() {
    page_.reset();
    if (!interactive_) return true;
    QPrintDialog dialog(&printer_, dialogParent_);
    return dialog.exec() == QDialog::Accepted;
}

void QtPrinterService::SetPortrait() {
    page_.reset();
    printer_.setPageOrientation(QPageLayout::Portrait);
}

DrawSurface& QtPrinterService::Page() {
    if (!page_) page_ = std::make_unique<PrinterSurface>(printer_, false);
    return *page_;
}

bool QtPrinterService::BeginJob() {
    Page();
    return page_->Begin();
}

bool QtPrinterService::EndJob() {
    return page_ && page_->Finish();
}

int QtPrinterService::OpenText() {
    text_.clear();
    textPainter_ = std::make_unique<QPainter>();
    errno = 0;
    if (!textPainter_->begin(&printer_)) return IoErrorCode();
    return 0;
}

void QtPrinterService::WriteText(const std::string& text) {
    text_ += text;
}

int QtPrinterService::CloseText() {
    if (!textPainter_ || !textPainter_->isActive()) return EIO;
    PrintText(*textPainter_);
    errno = 0;
    const bool sent = textPainter_->end();
    textPainter_.reset();
    text_.clear();
    return sent ? 0 : IoErrorCode();
}

void QtPrinterService::PrintText(QPainter& painter) {
    const std::vector<TextPage> pages = PagesOf(text_);
    const QFont font = ListingFont(pages, printer_);
    painter.setFont(font);
    painter.setPen(Qt::black);
    const QFontMetricsF metrics(font, &printer_);
    for (std::size_t p = 0; p < pages.size(); ++p) {
        if (p > 0) printer_.newPage();
        qreal baseline = metrics.ascent();
        for (const QString& line : pages[p]) {
            painter.drawText(QPointF(0, baseline), line);
            baseline += metrics.lineSpacing();
        }
    }
}
