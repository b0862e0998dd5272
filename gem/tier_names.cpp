#include "gem/tier_names.h"

#include "gem/gem.h"
#include "gem/numread.h"
#include "gem/numtext.h"
#include "gem/tolerances.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <optional>
#include <sstream>

namespace {
constexpr Real SameWrittenAngle = 0.005L + 1e-9L; // an angle written to 0.01 degrees
constexpr std::size_t MaxNameDigits = 3;
const char* const DegreeSigns[] = {"\xC2\xB0", "\xB0", "\xBA"}; // UTF-8 and Latin-1 degree, ordinal
const char* const Continued[] = {"-...", "...", "\x85"};        // an index list cut short

bool Present(const TGem& design, int f) {
    return design.Facets[f].CornerCount != 0;
}

std::vector<Real> DistinctIndices(const TGem& design, const std::vector<int>& facets) {
    std::vector<Real> indices;
    for (const int f : facets)
        indices.push_back(design.Facets[f].ShownIndex);
    std::sort(indices.begin(), indices.end());
    std::vector<Real> distinct;
    for (const Real v : indices)
        if (distinct.empty() || v - distinct.back() > WrittenIndexTolerance) distinct.push_back(v);
    return distinct;
}

// The tiers with the cutters' convention names.
std::vector<NamedTier> DerivedTiers(const TGem& design) {
    std::map<int, std::vector<int>> byTier; // tier number -> its facets, in cutting order
    std::vector<int> order;                 // tier numbers by their first facet
    for (int f = 1; f <= design.FacetCount; ++f) {
        const int t = design.Facets[f].TierNo;
        if (t == design.Facets[0].TierNo || t == design.Facets[-1].TierNo) continue;
        if (!byTier.count(t)) order.push_back(t);
        byTier[t].push_back(f);
    }
    std::vector<NamedTier> tiers;
    int sloped = 0, girdles = 0;
    for (const int t : order) {
        const std::vector<int>& facets = byTier[t];
        NamedTier tier;
        tier.Angle = design.FacetAngle(facets.front());
        tier.Girdle = Near90(tier.Angle);
        // The girdle is cut to size even when later tiers take every facet of it (a knife-edge girdle).
        const bool cut = tier.Girdle ||
                         std::any_of(facets.begin(), facets.end(), [&](int f) { return Present(design, f); });
        if (!cut) continue;
        tier.Tier = t;
        tier.Facets = facets;
        tier.Indices = DistinctIndices(design, facets);
        if (tier.Girdle)
            tier.Name = ++girdles == 1 ? "g" : "g" + IntText(girdles);
        else
            tier.Name = (design.IsCrown() ? "c" : "p") + IntText(++sloped);
        tiers.push_back(tier);
    }
    if (Present(design, -1)) {
        NamedTier table;
        table.Name = design.IsCrown() ? "t" : "cu";
        table.Tier = design.Facets[-1].TierNo;
        table.Facets = {-1};
        table.Table = true;
        tiers.push_back(table);
    }
    for (NamedTier& tier : tiers)
        tier.DerivedName = tier.Name;
    return tiers;
}

std::vector<std::string> DesignText(const TGem& design) {
    std::vector<std::string> lines;
    for (int k = 1; k <= TextLineCount; ++k)
        lines.push_back(design.TextLine(k));
    return lines;
}

// One letter and up to three digits, a colon after it allowed.
std::optional<std::string> TierNameWord(std::string word) {
    if (!word.empty() && word.back() == ':') word.pop_back();
    if (word.empty() || word.size() > 1 + MaxNameDigits || !std::isalpha(static_cast<unsigned char>(word[0])))
        return std::nullopt;
    for (std::size_t k = 1; k < word.size(); ++k)
        if (!std::isdigit(static_cast<unsigned char>(word[k]))) return std::nullopt;
    return word;
}

// An angle of 0 to 90 degrees written with a decimal point or a degree sign (a pavilion's may carry a
// minus sign, as ASC files write them).
std::optional<Real> AngleWord(std::string word) {
    bool degree = false;
    for (const char* sign : DegreeSigns)
        if (word.ends_with(sign)) {
            word.resize(word.size() - std::string(sign).size());
            degree = true;
            break;
        }
    if (!degree && word.find('.') == std::string::npos) return std::nullopt;
    if (word.empty() || word.find_first_of("eE+") != std::string::npos) return std::nullopt;
    const std::optional<Real> angle = ReadReal(word);
    if (!angle || std::fabs(*angle) > 90) return std::nullopt;
    return std::fabs(*angle);
}

// Indices joined by "-", possibly cut short: "03-09-15", "3-9-...", "48".
std::optional<std::vector<Real>> IndicesWord(std::string word) {
    for (const char* end : Continued)
        if (word.ends_with(end)) {
            word.resize(word.size() - std::string(end).size());
            break;
        }
    if (word.empty() || !std::isdigit(static_cast<unsigned char>(word[0]))) return std::nullopt;
    std::vector<Real> indices;
    std::istringstream pieces(word);
    for (std::string piece; std::getline(pieces, piece, '-');) {
        if (piece.empty() || piece.find_first_not_of("0123456789.") != std::string::npos) return std::nullopt;
        const std::optional<Real> index = ReadReal(piece);
        if (!index) return std::nullopt;
        indices.push_back(*index);
    }
    return indices;
}

struct TextEntry {
    std::string Name;
    Real Angle = 0;
    std::vector<Real> Indices; // empty when none are written
};

std::vector<TextEntry> TextEntries(const std::vector<std::string>& lines) {
    std::vector<TextEntry> entries;
    for (const std::string& line : lines) {
        std::istringstream in(line);
        std::vector<std::string> words;
        for (std::string word; in >> word;)
            words.push_back(word);
        for (std::size_t k = 0; k + 1 < words.size(); ++k) {
            const auto name = TierNameWord(words[k]);
            const auto angle = name ? AngleWord(words[k + 1]) : std::nullopt;
            if (!angle) continue;
            TextEntry entry{*name, *angle, {}};
            if (k + 2 < words.size())
                if (const auto indices = IndicesWord(words[k + 2])) entry.Indices = *indices;
            entries.push_back(entry);
        }
    }
    return entries;
}

bool Fits(const TextEntry& entry, const NamedTier& tier) {
    if (std::fabs(tier.Angle - entry.Angle) > SameWrittenAngle) return false;
    return std::all_of(entry.Indices.begin(), entry.Indices.end(), [&](Real written) {
        return std::any_of(tier.Indices.begin(), tier.Indices.end(),
                           [&](Real own) { return std::fabs(own - written) < WrittenIndexTolerance; });
    });
}

// The one tier of `tiers` an entry fits; none when it fits none, or more than one counting `others`.
std::optional<std::size_t> TierOfEntry(const TextEntry& entry, const std::vector<NamedTier>& tiers,
                                       const std::vector<NamedTier>& others) {
    std::optional<std::size_t> found;
    int fits = 0;
    for (std::size_t k = 0; k < tiers.size(); ++k)
        if (Fits(entry, tiers[k])) {
            found = k;
            ++fits;
        }
    for (const NamedTier& other : others)
        if (Fits(entry, other)) ++fits;
    if (fits != 1) return std::nullopt;
    return found;
}

// Gives each tier its one text name; a name two tiers would share goes back to the derived names.
void ApplyNames(const std::vector<std::optional<std::string>>& given, std::vector<NamedTier>& tiers) {
    for (std::size_t k = 0; k < tiers.size(); ++k)
        if (given[k]) tiers[k].Name = *given[k];
    for (bool clash = true; clash;) {
        std::vector<std::size_t> clashing; // text-named tiers whose name another tier has too
        for (std::size_t a = 0; a < tiers.size(); ++a)
            for (std::size_t b = 0; b < tiers.size(); ++b)
                if (a != b && tiers[a].NamedByText() && SameTierName(tiers[a].Name, tiers[b].Name))
                    clashing.push_back(a);
        for (const std::size_t a : clashing)
            tiers[a].Name = tiers[a].DerivedName;
        clash = !clashing.empty();
    }
}
} // namespace

void NameTiersFromText(const std::vector<std::string>& lines, std::vector<NamedTier>& tiers,
                       const std::vector<NamedTier>& others) {
    std::vector<std::optional<std::string>> given(tiers.size());
    std::vector<bool> contested(tiers.size(), false);
    for (const TextEntry& entry : TextEntries(lines)) {
        const auto k = TierOfEntry(entry, tiers, others);
        if (!k) continue;
        if (given[*k] && !SameTierName(*given[*k], entry.Name)) contested[*k] = true;
        if (!given[*k]) given[*k] = entry.Name;
    }
    for (std::size_t k = 0; k < tiers.size(); ++k)
        if (contested[k]) given[k].reset();
    ApplyNames(given, tiers);
}

std::vector<NamedTier> TiersInCuttingOrder(const TGem& design, const TGem* partner) {
    std::vector<NamedTier> tiers = DerivedTiers(design);
    std::vector<std::string> text = DesignText(design);
    std::vector<NamedTier> others;
    if (partner) {
        for (NamedTier& tier : DerivedTiers(*partner))
            if (!tier.Girdle) others.push_back(std::move(tier)); // the girdle is one tier of both halves
        for (const std::string& line : DesignText(*partner))     // one half's text often names both
            text.push_back(line);
    }
    NameTiersFromText(text, tiers, others);
    return tiers;
}

std::string PrintedName(const NamedTier& tier) {
    if (tier.NamedByText()) return tier.Name;
    std::string name = tier.Name;
    for (char& c : name)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return name;
}

bool SameTierName(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

std::string IndicesText(const std::vector<Real>& indices) {
    std::string text;
    for (const Real v : indices) {
        if (!text.empty()) text += '-';
        text += std::fabs(v - RoundEven(v)) < WrittenIndexTolerance ? ZeroPadded(v, 2, 0) : fixed(v, 0, 2);
    }
    return text;
}
