// The only file that includes libEMF's header (built with NOMINMAX).
#include "platform/emf_gdi.h"

#include "gem/code_page.h"

#include <libEMF/emf.h>

#include <cstdio>

namespace {
// The reference device of libEMF: 1024 pixels are 320 mm, so one pixel is 31.25 hundredths of a mm.
constexpr long HundredthsMmPer4Pixels = 125;

// The description record: application and picture name, each ended by a null, then one more null.
constexpr char Description[] = "LapidraW\0design sheet\0";

COLORREF Ref(Colour c) {
    return static_cast<COLORREF>(c & 0xFFFFFF);
}
} // namespace

struct EmfPicture::Gdi {
    FILE* File = nullptr;
    HDC Dc{}; // handles are numbers in libEMF; 0 is none
    HGDIOBJ Pen{}, Brush{}, Font{};

    // Selects a new object of the kind and deletes the one it replaces.
    void Replace(HGDIOBJ& slot, HGDIOBJ object) {
        SelectObject(Dc, object);
        if (slot) DeleteObject(slot);
        slot = object;
    }
};

EmfPicture::EmfPicture(int width, int height) : gdi_(std::make_unique<Gdi>()) {
    gdi_->File = std::tmpfile();
    if (!gdi_->File) return;
    RECT frame = {0, 0, static_cast<LONG>(width * HundredthsMmPer4Pixels / 4),
                  static_cast<LONG>(height * HundredthsMmPer4Pixels / 4)};
    WCHAR description[sizeof Description];
    for (std::size_t i = 0; i < sizeof Description; ++i)
        description[i] = static_cast<unsigned char>(Description[i]);
    gdi_->Dc = CreateEnhMetaFileWithFILEW(HDC{}, gdi_->File, &frame, description);
    if (!gdi_->Dc) return;
    SetBkMode(gdi_->Dc, TRANSPARENT);
    SetTextAlign(gdi_->Dc, TA_TOP | TA_LEFT | TA_NOUPDATECP);
}

EmfPicture::~EmfPicture() {
    Finish();
    if (gdi_->File) std::fclose(gdi_->File);
}

bool EmfPicture::Valid() const {
    return gdi_->Dc != HDC{};
}

void EmfPicture::SetPen(Colour colour, int width) {
    if (!Valid()) return;
    gdi_->Replace(gdi_->Pen, CreatePen(PS_SOLID, width, Ref(colour)));
}

void EmfPicture::SetBrush(Colour colour) {
    if (!Valid()) return;
    gdi_->Replace(gdi_->Brush, CreateSolidBrush(Ref(colour)));
}

void EmfPicture::SetFont(const std::string& name, int pixelHeight, bool bold) {
    if (!Valid()) return;
    gdi_->Replace(gdi_->Font, CreateFontA(-pixelHeight, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, 0, 0, 0,
                                          ANSI_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                          DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, name.c_str()));
}

void EmfPicture::SetTextColour(Colour colour) {
    if (!Valid()) return;
    SetTextColor(gdi_->Dc, Ref(colour));
}

void EmfPicture::MoveTo(int x, int y) {
    if (!Valid()) return;
    MoveToEx(gdi_->Dc, x, y, nullptr);
}

void EmfPicture::LineTo(int x, int y) {
    if (!Valid()) return;
    ::LineTo(gdi_->Dc, x, y);
}

void EmfPicture::Ellipse(int left, int top, int right, int bottom) {
    if (!Valid()) return;
    ::Ellipse(gdi_->Dc, left, top, right, bottom);
}

void EmfPicture::Rectangle(int left, int top, int right, int bottom) {
    if (!Valid()) return;
    ::Rectangle(gdi_->Dc, left, top, right, bottom);
}

void EmfPicture::Polygon(const std::vector<DevicePoint>& points) {
    if (!Valid()) return;
    std::vector<POINT> corners;
    corners.reserve(points.size());
    for (const DevicePoint& p : points)
        corners.push_back(POINT{p.x, p.y});
    ::Polygon(gdi_->Dc, corners.data(), static_cast<INT>(corners.size()));
}

void EmfPicture::Text(int x, int y, const std::string& text) {
    if (!Valid()) return;
    std::vector<WCHAR> wide;
    wide.reserve(text.size() + 1);
    for (const char c : text) // every character of the code page lies in the 16-bit range
        wide.push_back(static_cast<WCHAR>(CodePageCharacter(static_cast<unsigned char>(c))));
    wide.push_back(0);
    ExtTextOutW(gdi_->Dc, x, y, 0, nullptr, wide.data(), static_cast<UINT>(text.size()), nullptr);
}

std::string EmfPicture::Finish() {
    if (!gdi_->Dc) return {};
    SelectObject(gdi_->Dc, GetStockObject(BLACK_PEN));
    SelectObject(gdi_->Dc, GetStockObject(WHITE_BRUSH));
    for (HGDIOBJ* slot : {&gdi_->Pen, &gdi_->Brush, &gdi_->Font})
        if (*slot) {
            DeleteObject(*slot);
            *slot = HGDIOBJ{};
        }
    HENHMETAFILE metafile = CloseEnhMetaFileWithFILE(gdi_->Dc);
    gdi_->Dc = HDC{};
    if (!metafile) return {};
    DeleteEnhMetaFile(metafile);
    std::string bytes;
    if (std::fflush(gdi_->File) != 0 || std::fseek(gdi_->File, 0, SEEK_SET) != 0) return {};
    char buffer[8192];
    std::size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, gdi_->File)) > 0)
        bytes.append(buffer, n);
    return std::ferror(gdi_->File) ? std::string() : bytes;
}
