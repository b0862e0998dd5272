#include "gem/cutting_instructions.h"

#include "gem/gem.h"
#include "gem/numtext.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <optional>
#include <set>

namespace {
// Two corners closer than this share of the stone's reach are one point: designs keep their planes to
// a few decimals, so a published meet is exact only to about that.
constexpr Real MeetShare = 2e-5L;
constexpr Real SmallestMeetDistance = 1e-6L;
constexpr Real UncutBlockHeight = 24; // a new crown's block

Real Distance(const Vector3& a, const Vector3& b) {
    return std::fabs(a.x - b.x) + std::fabs(a.y - b.y) + std::fabs(a.z - b.z);
}

// The corners of a design's state and which facets pass through each.
struct StoneState {
    std::vector<Vector3> Corners;
    std::vector<std::set<int>> FacetsAt;

    std::optional<std::size_t> CornerAt(const Vector3& p, Real tolerance) const {
        for (std::size_t c = 0; c < Corners.size(); ++c)
            if (Distance(Corners[c], p) < tolerance) return c;
        return std::nullopt;
    }
    bool HasCornerAt(const Vector3& p, Real tolerance) const { return CornerAt(p, tolerance).has_value(); }
};

StoneState ReadState(const TGem& gem) {
    StoneState state;
    std::map<int, std::size_t> slot;
    for (int f = -1; f <= gem.FacetCount; ++f) {
        const Facet& facet = gem.Facets[f];
        for (int k = 1; k < facet.CornerCount; ++k) {
            const int p = facet.Corners[k];
            auto [it, added] = slot.try_emplace(p, state.Corners.size());
            if (added) {
                state.Corners.push_back(gem.Points[p].Position);
                state.FacetsAt.emplace_back();
            }
            state.FacetsAt[it->second].insert(f);
        }
    }
    return state;
}

// Replays the design's cuts: the state after its first n facets, each computed once.
class Replay {
  public:
    // The table (or a pavilion's flat bottom) is cut last: until then the block reaches well beyond it.
    explicit Replay(const TGem& design) : work_(design.Backup()) {
        work_->Facets[-1].Dist = -(UncutBlockHeight + 3 * std::max(design.W(), design.H()));
    }

    const StoneState& After(int n) {
        auto it = states_.find(n);
        if (it != states_.end()) return it->second;
        if (n <= 0) return states_[n]; // the uncut block: no corner to cut to
        work_->FacetCount = n;
        work_->Recompute();
        return states_.emplace(n, ReadState(*work_)).first->second;
    }

  private:
    std::unique_ptr<TGem> work_;
    std::map<int, StoneState> states_;
};

class Instructor {
  public:
    Instructor(const TGem& design, const TGem* partner)
        : design_(design), tiers_(TiersInCuttingOrder(design, partner)), replay_(design),
          tolerance_(std::max(SmallestMeetDistance, MeetShare * std::max(design.W(), design.H()))) {
        for (std::size_t k = 0; k < tiers_.size(); ++k)
            rank_[tiers_[k].Tier] = k;
    }

    std::vector<TierInstruction> All() {
        const StoneState finalState = ReadState(design_);
        std::vector<TierInstruction> out;
        for (const NamedTier& tier : tiers_)
            out.push_back(Instruct(tier, finalState));
        return out;
    }

  private:
    TierInstruction Instruct(const NamedTier& tier, const StoneState& finalState) {
        TierInstruction instruction;
        instruction.Tier = tier;
        if (tier.Table) return instruction;
        const int first = tier.Facets.front(), last = tier.Facets.back();
        const StoneState& before = replay_.After(first - 1);
        const StoneState& after = replay_.After(last);
        const std::set<int> own(tier.Facets.begin(), tier.Facets.end());
        std::set<std::size_t> met;   // ranks of the tiers met
        std::vector<Vector3> points; // the points the tier was cut to
        bool touchesGirdle = false;
        for (std::size_t c = 0; c < after.Corners.size(); ++c) {
            const std::set<int>& facets = after.FacetsAt[c];
            if (std::none_of(facets.begin(), facets.end(), [&](int f) { return own.count(f) != 0; }))
                continue;
            for (const int f : facets)
                touchesGirdle = touchesGirdle || (!own.count(f) && IsGirdleFacet(f));
            if (IsCentrePoint(after.Corners[c], facets, tier)) {
                instruction.CentrePoint = true;
                points.push_back(after.Corners[c]);
            }
            const auto aimedAt = before.CornerAt(after.Corners[c], tolerance_);
            if (!aimedAt) continue;
            points.push_back(after.Corners[c]);
            // The tiers that met at the point when the cutter aimed at it, and those still there.
            std::set<int> meeting = before.FacetsAt[*aimedAt];
            meeting.insert(facets.begin(), facets.end());
            for (const int f : meeting)
                if (!own.count(f)) {
                    if (const auto rank = RankOf(f)) met.insert(*rank);
                }
        }
        for (const std::size_t rank : met)
            instruction.Meets.push_back(tiers_[rank].Name);
        instruction.LevelGirdle = (touchesGirdle || tier.Girdle) && GirdleIsLevel(after);
        instruction.Temporary = std::any_of(points.begin(), points.end(), [&](const Vector3& p) {
            return !finalState.HasCornerAt(p, tolerance_);
        });
        return instruction;
    }

    std::optional<std::size_t> RankOf(int f) const {
        const auto it = rank_.find(design_.Facets[f].TierNo);
        if (it == rank_.end()) return std::nullopt;
        return it->second;
    }

    bool IsGirdleFacet(int f) const { return f >= 1 && Near90(design_.FacetAngle(f)); }

    // A corner on the axis shared by every facet of the tier present there.
    bool IsCentrePoint(const Vector3& p, const std::set<int>& facets, const NamedTier& tier) const {
        if (std::fabs(p.x) + std::fabs(p.y) >= tolerance_) return false;
        return std::all_of(tier.Facets.begin(), tier.Facets.end(),
                           [&](int f) { return facets.count(f) != 0; });
    }

    // Every corner of the girdle facets off the girdle plane and the bounding plane lies at one height.
    bool GirdleIsLevel(const StoneState& state) const {
        std::optional<Real> height;
        bool any = false;
        for (std::size_t c = 0; c < state.Corners.size(); ++c) {
            const Real z = state.Corners[c].z;
            if (std::fabs(z) < tolerance_) continue;
            const std::set<int>& facets = state.FacetsAt[c];
            if (facets.count(-1) ||
                std::none_of(facets.begin(), facets.end(), [&](int f) { return IsGirdleFacet(f); }))
                continue;
            if (height && std::fabs(*height - z) >= tolerance_) return false;
            height = z;
            any = true;
        }
        return any;
    }

    const TGem& design_;
    std::vector<NamedTier> tiers_;
    std::map<int, std::size_t> rank_; // tier number -> place in cutting order
    Replay replay_;
    Real tolerance_;
};
} // namespace

std::string TierInstruction::Text() const {
    std::vector<std::string> parts;
    if (CentrePoint) parts.push_back("centre point");
    if (!Meets.empty()) {
        std::string meet = "meet ";
        for (std::size_t k = 0; k < Meets.size(); ++k)
            meet += (k ? ", " : "") + Meets[k];
        parts.push_back(meet);
    }
    if (LevelGirdle) parts.push_back("level girdle");
    if (Temporary) parts.push_back("temporary meet");
    std::string text;
    for (const std::string& part : parts)
        text += (text.empty() ? "" : "; ") + part;
    return text;
}

std::vector<TierInstruction> CuttingInstructions(const TGem& design, const TGem* partner) {
    if (design.FacetCount <= 0) return {};
    return Instructor(design, partner).All();
}

std::vector<std::string> CuttingInstructionLines(const std::vector<TierInstruction>& instructions) {
    std::vector<std::string> lines;
    for (const TierInstruction& i : instructions) {
        std::string name = i.Tier.Name;
        name.resize(std::max<std::size_t>(name.size(), 4), ' ');
        const std::string angle = i.Tier.Table ? std::string(7, ' ') : fixed(i.Tier.Angle, 6, 2) + " ";
        std::string indices = IndicesText(i.Tier.Indices);
        indices.resize(std::max<std::size_t>(indices.size(), 24), ' ');
        std::string line = name + angle + " " + indices + " " + i.Text();
        while (!line.empty() && line.back() == ' ')
            line.pop_back();
        lines.push_back(line);
    }
    return lines;
}
