// The facet data table at the bottom of the sheet: one row per facet group with its name, cut angle
// and indices, and the notes of text lines 11 ... 19.
#include "gem/gem.h"
#include "gem/numtext.h"
#include "sheet/design_sheet.h"

#include <algorithm>
#include <cctype>
#include <cmath>

namespace {
constexpr int FirstNoteLine = 11;
constexpr int NoteLineCount = 9;
constexpr int RowsShownOnScreen = 8;
constexpr int FullPageBlockRows = 40;
constexpr Real TableTopShare = 0.7L;
constexpr Real RowHeight = 15;
constexpr Real BottomGap = 9;
constexpr Real TableWindowWidth = 640;
constexpr int TableTextSize = 10;
constexpr const char* NoteRunOfBlanks = "       "; // seven blanks part the pieces of a plain note line
const std::string Degree = "\xBA";

// Indices per row before the row wraps, by the number of identical parts.
int IndicesPerRow(int parts) {
    switch (parts) {
    case 3:
    case 6:
        return 6;
    case 5:
        return 10;
    case 7:
        return 7;
    default:
        return 8;
    }
}

bool AnyTenths(const TGem& design) {
    for (int t = 1; t <= design.TierCount; ++t) {
        const Tier& tier = design.Tiers[t];
        for (int m = 1; m <= tier.MemberCount; ++m) {
            const Real tenths = RoundEven(design.Index(tier.Members[m]) * 10);
            if (std::fmod(tenths, 10) != 0) return true;
        }
    }
    return false;
}

std::string GroupPrefix(const TGem& design) {
    if (design.IsPreform) return "CAM";
    return design.IsCrown() ? "C" : "P";
}

// Splits s before every occurrence of c after its first character.
std::vector<std::string> CutBefore(const std::string& s, char c) {
    std::vector<std::string> pieces;
    std::size_t start = 0;
    for (std::size_t at = s.find(c, 1); at != std::string::npos; at = s.find(c, at + 1)) {
        pieces.push_back(s.substr(start, at - start));
        start = at;
    }
    pieces.push_back(s.substr(start));
    return pieces;
}

std::vector<std::string> CutAtRuns(const std::string& s, const std::string& run) {
    std::vector<std::string> pieces;
    std::size_t start = 0;
    for (std::size_t at = s.find(run); at != std::string::npos; at = s.find(run, start)) {
        pieces.push_back(s.substr(start, at - start));
        start = at + run.size();
    }
    pieces.push_back(s.substr(start));
    return pieces;
}
} // namespace

void TDesignSheet::StartRow(int& row) {
    ++row;
    if (row > RowsUsed) RowsUsed = row;
}

// Notes of lines 11 ... 19: "&" items name their rows; "#" and "@" lines and plain lines spread their
// pieces over the rows i, i + 9, i + 18, ...
void TDesignSheet::ReadNotes(const TGem& design) {
    auto setNote = [&](int row, const std::string& note, int noteRow) {
        if (row < 1 || row > MaxTableRows) return; // rows beyond the table are not stored
        Rows[row].Note = note;
        Rows[row].NoteRow = noteRow;
        RowsUsed = std::max(RowsUsed, row);
    };
    for (int i = 1; i <= NoteLineCount; ++i) {
        const int k = FirstNoteLine - 1 + i;
        const std::string line = Trim(design.TextLines[k]);
        if (line.empty()) continue;
        if (line[0] == '&') {
            for (const std::string& item : CutBefore(line, '&')) {
                std::size_t digits = 1;
                while (digits < item.size() && std::isdigit(static_cast<unsigned char>(item[digits])))
                    ++digits;
                if (digits == 1 || digits > 10) continue;
                const long row = std::stol(item.substr(1, digits - 1));
                if (row < 1 || row > MaxTableRows) continue;
                setNote(static_cast<int>(row), Trim(item.substr(digits)), static_cast<int>(row));
            }
        } else if (line[0] == '#' || line[0] == '@') {
            const char cut = line.find('#', 1) != std::string::npos ? '#' : '@';
            const std::vector<std::string> pieces = CutBefore(line, cut);
            for (std::size_t p = 0; p < pieces.size(); ++p)
                setNote(i + NoteLineCount * static_cast<int>(p), Trim(pieces[p]), 0);
        } else {
            const std::vector<std::string> pieces = CutAtRuns(line, NoteRunOfBlanks);
            for (std::size_t p = 0; p < pieces.size(); ++p) {
                const std::string piece = Trim(pieces[p]);
                if (!piece.empty()) setNote(i + NoteLineCount * static_cast<int>(p), "#" + piece, 0);
            }
        }
    }
}

int TDesignSheet::BuildFacetTable(const TGem& design) {
    for (int r = 1; r <= MaxTableRows; ++r)
        Rows[r] = FacetTableRow{};
    RowsUsed = 0;
    int n = design.TierListLines;
    const int width = design.IndexCount() >= 100 ? 3 : 2;
    const int decimals = AnyTenths(design) ? 1 : 0;
    const int perRow = IndicesPerRow(design.Parts);
    const std::string prefix = GroupPrefix(design);

    ReadNotes(design);

    // Group rows; rows past the last storable one are dropped, the count goes on.
    FacetTableRow spill;
    auto rowAt = [&](int r) -> FacetTableRow& { return r <= MaxTableRows ? Rows[r] : spill; };
    int row = 0;
    int offset = 0;
    int lastGroup = 0;
    for (int t = 1; t <= design.TierCount; ++t) {
        const Tier& tier = design.Tiers[t];
        const Real angle = design.FacetAngle(tier.FirstFacet);
        if (NearZero(angle) || Near180(angle)) {
            --offset;
            continue;
        }
        StartRow(row);
        lastGroup = t + offset;
        rowAt(row).GroupNumber = lastGroup;
        rowAt(row).Name = prefix + IntText(lastGroup);
        rowAt(row).AngleText = fixed(angle, 6, 2) + Degree;
        for (int m = 1; m <= tier.MemberCount; ++m) {
            const int f = tier.Members[m];
            if (rowAt(row).IndexCountInRow > 0 && rowAt(row).IndexCountInRow % perRow == 0) {
                StartRow(row);
                ++n;
            }
            FacetTableRow& current = rowAt(row);
            std::string text = ZeroPadded(design.ShownIndex(design.Index(f)), width, decimals);
            if (design.Facets[f].CornerCount == 0 && Options.ShowCutoff) text = "*" + text;
            current.IndicesText += (current.IndexCountInRow == 0 ? " " : "-") + text;
            ++current.IndexCountInRow;
        }
    }
    if (design.HasTable()) {
        StartRow(row);
        rowAt(row).GroupNumber = lastGroup + 1;
        rowAt(row).Name = prefix + IntText(lastGroup + 1);
        rowAt(row).AngleText = "  0" + Degree;
        rowAt(row).IndicesText = "  any";
    }
    RowsUsed = std::min(RowsUsed, MaxTableRows);
    if (row > RowsShownOnScreen) n = RowsShownOnScreen + 1;
    return n;
}

void TDesignSheet::DrawFacetTable(const TGem& design, TUserCanvas& canvas, bool fullPage) {
    if (!ScreenCanvas) ScreenCanvas = &canvas;
    int n = std::min(BuildFacetTable(design), RowsShownOnScreen);
    const Real height = SheetHeight();
    const Real top = height * TableTopShare;
    Real bottom = top + (n + 2) * RowHeight;
    if (bottom > height - BottomGap) {
        bottom = height - BottomGap;
        n = static_cast<int>(std::floor((height - BottomGap - top - RowHeight) / RowHeight));
    }
    n = std::max(n, 0); // a very low window still shows one row per block
    FacetTableView.Init(&canvas, "", 0, top, WorldWidth, bottom, 1);
    FacetTableView.SetWindow(0, 1, TableWindowWidth, n + 2.2L);
    const int perBlock = fullPage ? FullPageBlockRows : n + 1;

    TView& view = FacetTableView;
    auto write = [&](const std::string& text, Real x, int y) {
        if (text.empty()) return x;
        return view.DrawText(text, TableTextSize, x, y, 0, true);
    };
    Real x = 0;
    for (int first = 1; first <= RowsUsed; first += perBlock) {
        const int last = std::min(first + perBlock - 1, RowsUsed);
        std::vector<Real> indicesEnd(static_cast<std::size_t>(last - first + 1), 0);

        const Real nameX = first == 1 ? 0 : x + 5;
        Real reached = nameX;
        for (int r = first; r <= last; ++r)
            reached = std::max(reached, write(Rows[r].Name, nameX, r - first + 1));
        x = reached;

        const Real angleX = x + 3;
        reached = angleX;
        for (int r = first; r <= last; ++r)
            reached = std::max(reached, write(Rows[r].AngleText, angleX, r - first + 1));
        x = reached;

        const Real indicesX = x + 2;
        reached = indicesX;
        for (int r = first; r <= last; ++r) {
            const Real end = write(Rows[r].IndicesText, indicesX, r - first + 1);
            indicesEnd[static_cast<std::size_t>(r - first)] = end;
            reached = std::max(reached, end);
        }
        x = reached;

        const Real noteX = x + 5;
        reached = noteX;
        for (int r = first; r <= last; ++r) {
            const FacetTableRow& row = Rows[r];
            if (row.Note.empty()) continue;
            Real end;
            if (row.NoteRow != 0)
                end = write(row.Note, noteX, r - first + 1);
            else if (row.Note[0] == '#')
                end = write(row.Note.substr(1), noteX, r - first + 1);
            else if (row.Note[0] == '@')
                end = write(row.Note.substr(1), indicesEnd[static_cast<std::size_t>(r - first)] + 5,
                            r - first + 1);
            else
                end = write(row.Note, noteX, r - first + 1);
            reached = std::max(reached, end);
        }
        x = reached;
    }
}
