// "About Lapidra".
#include "dialogs/about_dialog.h"

#include "dialogs/design_host.h"
#include "dialogs/dialog_frame.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPushButton>
#include <QSysInfo>
#include <QVBoxLayout>
#include <cmath>

namespace {
constexpr int IconPixels = 48;
constexpr int CommentsWidth = 260;
constexpr int Sides = 8;
constexpr double TableShare = 0.5; // the table's radius against the girdle's

// The system the program was built for, named as its users name it.
std::string PlatformName() {
    QString kernel = QSysInfo::kernelType();
    if (!kernel.isEmpty()) kernel[0] = kernel[0].toUpper();
    return kernel.toStdString();
}

QPolygonF Octagon(QPointF centre, double radius, double turn) {
    QPolygonF corners;
    for (int k = 0; k < Sides; ++k) {
        const double a = turn + 2 * M_PI * k / Sides;
        corners << centre + QPointF(radius * std::cos(a), radius * std::sin(a));
    }
    return corners;
}
} // namespace

QPixmap DrawProgramIcon(int size) {
    QPixmap icon(size, size);
    icon.fill(Qt::transparent);
    QPainter painter(&icon);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPointF centre(size / 2.0, size / 2.0);
    const double radius = size / 2.0 - 1;
    const QPolygonF girdle = Octagon(centre, radius, M_PI / Sides);
    const QPolygonF table = Octagon(centre, radius * TableShare, 0);
    QRadialGradient light(centre - QPointF(radius / 3, radius / 3), radius * 1.5);
    light.setColorAt(0, QColor(225, 245, 255));
    light.setColorAt(1, QColor(40, 110, 200));
    painter.setBrush(light);
    painter.setPen(QPen(QColor(20, 40, 90), 1));
    painter.drawPolygon(girdle);
    painter.setBrush(QColor(200, 235, 255, 160));
    painter.drawPolygon(table);
    // Each table corner meets the two girdle corners beside it: the stars and the mains.
    for (int k = 0; k < Sides; ++k) {
        painter.drawLine(table[k], girdle[k]);
        painter.drawLine(table[k], girdle[(k + Sides - 1) % Sides]);
    }
    return icon;
}

std::string ProgramVersionText() {
    return std::string("lapidraw ") + LAPIDRAW_VERSION + " for " + PlatformName() + " " +
           QSysInfo::buildCpuArchitecture().toStdString();
}

TGemAbout::TGemAbout(DesignHost& host) : QDialog(host.DialogParent()) {
    SetUpDialog(*this, "GemAbout", "About Lapidra");

    Panel1 = new QFrame(this);
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Panel1->setLineWidth(2);
    ProgramIcon = new QLabel(Panel1);
    ProgramIcon->setPixmap(DrawProgramIcon(IconPixels));
    auto plain = [this](const char* text, const char* name) {
        auto* label = new QLabel(text, Panel1);
        label->setTextFormat(Qt::PlainText); // the blanks of the texts are kept as they are
        label->setObjectName(name);
        return label;
    };
    ProductName = plain("    LapidraW", "ProductName");
    Version = plain(("Version: " + ProgramVersionText()).c_str(), "Version");
    FileVersion = plain((std::string("Design files: ") + VersionCaption).c_str(), "FileVersion");
    const std::string comments = "Comments : This program  is the " + PlatformName() +
                                 " version of Lapidra.  The program can also import a crown or pavilion "
                                 "form ASC files .";
    Comments = plain(comments.c_str(), "Comments");
    Comments->setWordWrap(true);
    Comments->setFixedWidth(CommentsWidth);
    OKButton = new QPushButton("O&k", this);
    OKButton->setObjectName("OKButton");
    OKButton->setDefault(true);
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);

    auto* top = new QHBoxLayout;
    top->addWidget(ProgramIcon, 0, Qt::AlignTop);
    top->addWidget(ProductName, 1);
    auto* panel = new QVBoxLayout(Panel1);
    panel->addLayout(top);
    panel->addWidget(Version);
    panel->addWidget(FileVersion);
    panel->addWidget(Comments);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Panel1);
    layout->addWidget(OKButton, 0, Qt::AlignHCenter);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    adjustSize();
    CentreOnScreen(*this);
}
