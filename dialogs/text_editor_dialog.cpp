// "Text editor": the design's text lines, cut name and author name.
#include "dialogs/text_editor_dialog.h"

#include "dialogs/dialog_frame.h"
#include "dialogs/field_input.h"
#include "platform/code_page_text.h"

#include <QFontMetrics>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {
constexpr int FirstNoteLine = 11;  // lines 11 ... 19 hold the notes of the facet data table
constexpr int KeyMargin = 10;      // typing stops this many pixels before the width of the sheet's lines
constexpr int FirstPrintable = 32; // lower character codes are control keys, which always pass
constexpr int EditWidth = 420;     // about the width of the sheet's text lines on an 800-pixel window
constexpr int LinesPerColumn = 10;
const char* const NoteHint =
    "Put in text for the cutangle and index information; separating the text by 8 or "
    "more spaces puts the text following the spaces into the next column ";

// The field's text in the design's code page; the first character the design file cannot hold when
// there is one.
std::string CodePageBytes(const QString& text, std::optional<char32_t>& refused) {
    std::string bytes;
    for (const char32_t c : text.toUcs4()) {
        const std::optional<unsigned char> byte = DesignTextByte(c);
        if (!byte) {
            refused = c;
            return bytes;
        }
        bytes.push_back(static_cast<char>(*byte));
    }
    return bytes;
}
} // namespace

TForm7::TForm7(DesignHost& host) : QDialog(host.DialogParent()), Host(host) {
    SetUpDialog(*this, "Form7", "Text editor");
    BuildControls();
    LayOut();
}

void TForm7::BuildControls() {
    auto edit = [this](int tag) {
        auto* field = new QLineEdit(this);
        field->setObjectName(QString("Edit%1").arg(tag));
        field->setProperty("Tag", tag);
        field->setMinimumWidth(EditWidth);
        connect(field, &QLineEdit::textChanged, this, [this, field] { EditChange(field); });
        connect(field, &QLineEdit::textEdited, this, [this] { TextChanged = true; });
        return field;
    };
    auto label = [this](const QString& caption, QLineEdit* buddy) {
        auto* l = new QLabel(caption, this);
        l->setBuddy(buddy);
        return l;
    };
    for (int k = 1; k <= FreeLineCount; ++k) {
        Lines[k] = edit(k);
        Lines[k]->installEventFilter(this);
        Labels[k] = label(k < FileNameLine ? QString("&%1").arg(k) : QString::number(k), Lines[k]);
    }
    Lines[FileNameLine]->setEnabled(false);
    Labels[FileNameLine]->setEnabled(false);
    Lines[FirstNoteLine]->setToolTip(NoteHint);
    Edit20 = edit(CutNameLine);
    Edit21 = edit(AuthorLine);
    Label20 = label("&Cutname", Edit20);
    Label21 = label("&Authorname", Edit21);
    BitBtn1 = new QPushButton("O&K", this);
    BitBtn2 = new QPushButton("Cance&l", this);
    BitBtn1->setObjectName("BitBtn1");
    BitBtn2->setObjectName("BitBtn2");
    BitBtn1->setDefault(true);
    connect(BitBtn1, &QPushButton::clicked, this, &TForm7::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);
}

// Lines 1 ... 10 on the left, 11 ... 19 on the right, the names below.
void TForm7::LayOut() {
    auto* grid = new QGridLayout;
    for (int k = 1; k <= FreeLineCount; ++k) {
        const int row = (k - 1) % LinesPerColumn, column = (k - 1) / LinesPerColumn * 2;
        grid->addWidget(Labels[k], row, column);
        grid->addWidget(Lines[k], row, column + 1);
    }
    grid->addWidget(Label20, LinesPerColumn, 0);
    grid->addWidget(Edit20, LinesPerColumn, 1);
    grid->addWidget(Label21, LinesPerColumn, 2);
    grid->addWidget(Edit21, LinesPerColumn, 3);
    CompleteCentredDialog(*this, grid, {BitBtn1, BitBtn2});
}

// ---- Activation ----

void TForm7::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FormActivate();
}

int TForm7::LastLineToLoad() const {
    const TGem& design = Host.Design();
    for (int k = FreeLineCount; k > FileNameLine; --k)
        if (!design.TextLine(k).empty()) return k;
    return FileNameLine;
}

void TForm7::FormActivate() {
    const TGem& design = Host.Design();
    for (int k = 1; k <= FreeLineCount; ++k)
        Lines[k]->clear();
    const int last = LastLineToLoad();
    for (int k = 1; k <= last; ++k)
        Lines[k]->setText(FromCodePage(design.TextLine(k)));
    Edit20->setText(FromCodePage(design.TextLine(CutNameLine)));
    Edit21->setText(FromCodePage(design.TextLine(AuthorLine)));
    TextChanged = false;
    for (int k = FirstNoteLine + 1; k <= FreeLineCount; ++k)
        Lines[k]->setToolTip(Lines[FirstNoteLine]->toolTip());
    Lines[1]->setFocus();
}

// ---- Typing ----

int TForm7::TextWidth(const QString& text) const {
    return QFontMetrics(font()).horizontalAdvance(text);
}

// A text wider than the sheet shows its lines loses its last characters until it fits; this catches
// pasted text, which no key press announces.
void TForm7::EditChange(QLineEdit* edit) {
    const int limit = Host.TextLinesWidth();
    QString text = edit->text();
    if (TextWidth(text) <= limit) return;
    while (!text.isEmpty() && TextWidth(text) > limit)
        text.chop(1);
    edit->setText(text);
}

// In lines 1 ... 19 a printable key does not type once the line is nearly as wide as the sheet's.
bool TForm7::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) return false;
    auto* edit = qobject_cast<QLineEdit*>(watched);
    const QString typed = static_cast<QKeyEvent*>(event)->text();
    if (!edit || typed.isEmpty() || typed.at(0).unicode() < FirstPrintable) return false;
    return TextWidth(edit->text()) > Host.TextLinesWidth() - KeyMargin;
}

// ---- Buttons ----

void TForm7::BitBtn1Click() {
    if (!TextChanged) return accept();
    std::array<std::string, TextLineCount + 1> texts;
    std::array<QLineEdit*, TextLineCount + 1> fields{};
    for (int k = 1; k <= FreeLineCount; ++k)
        fields[k] = Lines[k];
    fields[CutNameLine] = Edit20;
    fields[AuthorLine] = Edit21;
    // Nothing is dropped silently: a character the file cannot hold is named and nothing changes.
    for (int k = 1; k <= TextLineCount; ++k) {
        std::optional<char32_t> refused;
        texts[k] = CodePageBytes(fields[k]->text(), refused);
        if (refused) {
            const QString shown = QString::fromUcs4(&*refused, 1);
            return ReportFieldError(Host.Svc().Messages, fields[k],
                                    "The design file cannot hold the character \"" + shown.toStdString() +
                                        "\"");
        }
    }
    Host.Finish(*this, [texts](TGem& design) {
        for (int k = 1; k <= TextLineCount; ++k)
            design.SetTextLine(k, texts[k]);
        return true;
    });
}
