#include "platform/picture_file.h"

#include "platform/emf_surface.h"
#include "platform/qt_surfaces.h"

#include <QFileInfo>
#include <QSaveFile>

PictureFormat PictureFormatOf(const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == "svg") return PictureFormat::Svg;
    if (suffix == "pdf") return PictureFormat::Pdf;
    if (suffix == "emf") return PictureFormat::Emf;
    return PictureFormat::Png;
}

PictureFile::PictureFile(PictureFormat format, int width, int height) : format_(format) {
    bytes_.open(QIODevice::WriteOnly);
    switch (format) {
    case PictureFormat::Png:
        raster_ = std::make_unique<RasterSurface>(width, height);
        break;
    case PictureFormat::Svg:
        svg_ = std::make_unique<SvgSurface>(bytes_, width, height);
        break;
    case PictureFormat::Pdf:
        pdf_ = std::make_unique<PdfSurface>(bytes_, width, height);
        break;
    case PictureFormat::Emf:
        emf_ = std::make_unique<EmfSurface>(width, height);
        break;
    }
}

PictureFile::~PictureFile() = default;

DrawSurface* PictureFile::Surface() {
    if (raster_) return raster_.get();
    if (svg_) return svg_.get();
    if (emf_) return emf_.get();
    return pdf_.get();
}

FileResult PictureFile::Save(const QString& path) {
    bool drawn = false;
    switch (format_) {
    case PictureFormat::Png:
        drawn = raster_->Finish().save(&bytes_, "PNG");
        break;
    case PictureFormat::Svg:
        drawn = svg_->Finish();
        break;
    case PictureFormat::Pdf:
        drawn = pdf_->Finish();
        break;
    case PictureFormat::Emf:
        drawn = bytes_.write(QByteArray::fromStdString(emf_->Finish())) > 0;
        break;
    }
    const std::string cannot = "Cannot write file " + path.toStdString();
    if (!drawn || bytes_.size() == 0) return FileResult::Failure(cannot + ": the picture could not be drawn");
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes_.data()) == bytes_.size() && file.commit())
        return {};
    return FileResult::Failure(cannot + ": " + file.errorString().toStdString());
}
